#include "app/widgets/field_binding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

#include "app/message_service.h"
#include "app/widgets/dataset_model.h"

namespace kolvio {

namespace {

bool SameValue(const Value& a, const Value& b) {
    const bool aEmpty = a.isNull() || (a.isText() && a.asText().empty());
    const bool bEmpty = b.isNull() || (b.isText() && b.asText().empty());
    if (aEmpty || bEmpty) return aEmpty == bEmpty;
    if (a.isNumber() && b.isNumber()) return a.asDouble() == b.asDouble();
    return a == b;
}

bool Editing(const Table& t) {
    return t.state() == DatasetState::kEdit || t.state() == DatasetState::kInsert;
}

void ShowStatus(const Status& st) {
    if (st.failed())
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
}

}  // namespace

FieldBinding::FieldBinding(Table& table, QString field, QWidget* control)
    : QObject(control), table_(table), field_(std::move(field)), control_(control) {
    observer_ = table_.addObserver([this](DataChange c, int f) { onChange(c, f); });
    control->installEventFilter(this);
}

FieldBinding::~FieldBinding() {
    table_.removeObserver(observer_);
}

const FieldDef* FieldBinding::fieldDef() const {
    const int i = table_.fieldIndex(field_.toStdString());
    return i < 0 ? nullptr : &table_.fields()[i];
}

void FieldBinding::load() {
    dirty_ = false;
    const int i = table_.fieldIndex(field_.toStdString());
    showValue(i < 0 || !table_.isOpen() ? Value() : table_.value(i));
}

void FieldBinding::onChange(DataChange change, int field) {
    if (busy_) return;
    if (change == DataChange::kFieldChanged && field != table_.fieldIndex(field_.toStdString())) {
        return;
    }
    load();
}

bool FieldBinding::beginEdit() {
    dirty_ = true;
    if (Editing(table_)) return true;
    busy_ = true;
    const Status st = table_.edit();
    busy_ = false;
    if (st.ok()) return true;
    ShowStatus(st);
    load();
    return false;
}

bool FieldBinding::holdsFieldValue() const {
    QString error;
    const std::optional<Value> v = controlValue(&error);
    const int i = table_.fieldIndex(field_.toStdString());
    return v && i >= 0 && table_.isOpen() && SameValue(*v, table_.value(i));
}

bool FieldBinding::isModified() const {
    return dirty_ && !holdsFieldValue();
}

bool FieldBinding::apply() {
    if (busy_ || !isModified()) return true;
    QString error;
    const std::optional<Value> v = controlValue(&error);
    if (v && validator_) error = validator_(*v);
    if (!v || !error.isEmpty()) {
        load();
        ShowMsgBox(error, MsgKind::kWarning, MsgButtons::kOk);
        if (control_)
            QTimer::singleShot(0, control_, [c = control_] {
                if (c) c->setFocus();
            });
        return false;
    }
    busy_ = true;
    Status st = Editing(table_) ? Status::Ok() : table_.edit();
    if (st.ok()) st = table_.setValue(field_.toStdString(), *v);
    busy_ = false;
    if (!st.ok()) {
        ShowStatus(st);
        load();
        return false;
    }
    dirty_ = false;
    emit applied();
    return true;
}

bool FieldBinding::eventFilter(QObject* watched, QEvent* event) {
    if (watched == control_ && event->type() == QEvent::FocusOut && !leaving_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Opening a drop-down or switching to another program is not leaving.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            leaving_ = true;
            apply();
            leaving_ = false;
        }
    }
    return QObject::eventFilter(watched, event);
}

LineEditBinding::LineEditBinding(Table& table, QString field, QLineEdit* edit)
    : FieldBinding(table, std::move(field), edit), edit_(edit) {
    connect(edit_, &QLineEdit::textEdited, this, [this] { beginEdit(); });
    load();
}

void LineEditBinding::setFormatter(std::function<QString(const Value&)> format) {
    format_ = std::move(format);
    load();
}

std::optional<Value> LineEditBinding::controlValue(QString* error) const {
    const FieldDef* def = fieldDef();
    if (!def) {
        *error = QStringLiteral("Tabulka není otevřená, hodnotu nelze uložit.");
        return std::nullopt;
    }
    return ParseFieldText(*def, edit_->text(), error);
}

void LineEditBinding::showValue(const Value& value) {
    const FieldDef* def = fieldDef();
    if (def && def->type == FieldType::kChar) edit_->setMaxLength(def->length);
    edit_->setText(format_ ? format_(value) : FormatValue(value));
    edit_->setCursorPosition(0);
}

CheckBoxBinding::CheckBoxBinding(Table& table, QString field, QCheckBox* box)
    : FieldBinding(table, std::move(field), box), box_(box) {
    connect(box_, &QCheckBox::clicked, this, [this] {
        if (beginEdit()) apply();
    });
    load();
}

std::optional<Value> CheckBoxBinding::controlValue(QString*) const {
    return Value(box_->isChecked());
}

void CheckBoxBinding::showValue(const Value& value) {
    const QSignalBlocker block(box_);
    box_->setChecked(value.asBool());
}

ComboBoxBinding::ComboBoxBinding(Table& table, QString field, QComboBox* combo)
    : FieldBinding(table, std::move(field), combo), combo_(combo) {
    combo_->setEditable(true);
    connect(combo_->lineEdit(), &QLineEdit::textEdited, this, [this] { beginEdit(); });
    // Qt also reports "activated" when the list is left with a text that
    // matches an item: only a different value is the rider's pick.
    connect(combo_, &QComboBox::activated, this, [this] {
        if (!holdsFieldValue()) beginEdit();
    });
    load();
}

std::optional<Value> ComboBoxBinding::controlValue(QString* error) const {
    const FieldDef* def = fieldDef();
    if (!def) {
        *error = QStringLiteral("Tabulka není otevřená, hodnotu nelze uložit.");
        return std::nullopt;
    }
    return ParseFieldText(*def, combo_->currentText(), error);
}

void ComboBoxBinding::showValue(const Value& value) {
    const FieldDef* def = fieldDef();
    if (def && def->type == FieldType::kChar) combo_->lineEdit()->setMaxLength(def->length);
    const QSignalBlocker block(combo_);
    const QString text = FormatValue(value);
    // The matching item (exactly, letter case included) or none.
    combo_->setCurrentIndex(combo_->findText(text));
    combo_->setEditText(text);
}

bool BindingGroup::applyAll() {
    for (const QPointer<FieldBinding>& b : bindings_) {
        if (b && !b->apply()) return false;
    }
    return true;
}

void BindingGroup::cancelAll() {
    for (const QPointer<FieldBinding>& b : bindings_) {
        if (b) b->cancel();
    }
}

bool BindingGroup::isModified() const {
    for (const QPointer<FieldBinding>& b : bindings_) {
        if (b && b->isModified()) return true;
    }
    return false;
}

}  // namespace kolvio
