#include "app/widgets/decimal_comma_filter.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace kolvio {

DecimalCommaFilter::DecimalCommaFilter(QObject* box, const DisplaySettings& settings)
    : QObject(box), settings_(settings) {
    box->installEventFilter(this);
}

bool DecimalCommaFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->text().size() != 1) return false;
    const char32_t typed = key->text().at(0).unicode();
    const char32_t given = DecimalKeyFilter(typed, settings_);
    if (given == typed) return false;
    const QString text(QChar(static_cast<char16_t>(given)));
    QKeyEvent replaced(QEvent::KeyPress, given == U'.' ? Qt::Key_Period : Qt::Key_unknown,
                       key->modifiers(), text, key->isAutoRepeat(), key->count());
    QCoreApplication::sendEvent(watched, &replaced);
    return true;
}

}  // namespace kolvio
