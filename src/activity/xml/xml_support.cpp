#include "activity/xml/xml_support.h"

#include <cmath>

#include "activity/time_text.h"

namespace kolvio::activity::xml {

namespace {
double Finite(double value, bool ok) {
    return ok && std::isfinite(value) ? value : kAbsent;
}
}  // namespace

double NumberOf(QXmlStreamReader& xml) {
    const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
    bool ok = false;
    const double value = QStringView(text).trimmed().toDouble(&ok);
    return Finite(value, ok);
}

double TimeOf(QXmlStreamReader& xml) {
    const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
    return ParseXmlTime(text.toStdString()).value_or(kAbsent);
}

double NumberAttribute(const QXmlStreamReader& xml, QLatin1StringView name) {
    bool ok = false;
    const double value = xml.attributes().value(name).trimmed().toDouble(&ok);
    return Finite(value, ok);
}

}  // namespace kolvio::activity::xml
