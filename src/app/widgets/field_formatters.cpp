#include "app/widgets/field_formatters.h"

namespace kolvio {

namespace {

using Fixed = std::string (*)(const Value&, const DisplaySettings&);
using Plain = std::string (*)(const Value&);

GridColumn::Formatter Wrap(Fixed f, const DisplaySettings& s) {
    return [f, &s](const Value& v) { return QString::fromStdString(f(v, s)); };
}

GridColumn::Formatter Wrap(Plain f) {
    return [f](const Value& v) { return QString::fromStdString(f(v)); };
}

}  // namespace

GridColumn::Formatter FieldFormatter(const QString& name, const DisplaySettings& s) {
    const QString f = name.toUpper();
    if (f == u"DELKA") return Wrap(DELKAGetText, s);
    if (f == u"PRUMER") return Wrap(PRUMERGetText, s);
    if (f == u"RYCHL_MAX") return Wrap(RYCHL_MAXGetText, s);
    if (f == u"SR_MER" || f == u"SR_AVG" || f == u"SR_MAX" || f == u"SR_LIM" || f == u"SR_X")
        return Wrap(SR_TEPGetText, s);
    if (f == u"SR_KCAL") return Wrap(SR_KCALGetText, s);
    if (f == u"SR_PLP") return Wrap(SR_PLPGetText, s);
    if (f == u"SR_AXP" || f == u"SR_ALP" || f == u"SR_MXP" || f == u"SR_MLP")
        return Wrap(SR_ProcentGetText, s);
    if (f == u"CAS") return Wrap(CASGetText);
    if (f == u"SR_PLC") return Wrap(CASGetTextNull);
    if (f == u"ZADNE_TRS") return Wrap(TTRNZZADNE_TRSGetText);
    return {};
}

QString FieldLabel(const QString& name) {
    const QString f = name.toUpper();
    if (f == u"DELKA") return QStringLiteral("délka");
    if (f == u"CAS") return QStringLiteral("čas");
    if (f == u"RYCHL_MAX") return QStringLiteral("max. rychlost");
    return name;
}

}  // namespace kolvio
