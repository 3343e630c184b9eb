#include "activity/xml_activity.h"

#include <QByteArray>

#include "activity/activity_messages.h"
#include "activity/xml/xml_support.h"

namespace kolvio::activity {

namespace {

constexpr QStringView kTcxNamespace = u"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2";
constexpr QStringView kGpx11 = u"http://www.topografix.com/GPX/1/1";
constexpr QStringView kGpx10 = u"http://www.topografix.com/GPX/1/0";

// Moves to the root element; false when the document has none.
bool ReadToRoot(QXmlStreamReader& xml) {
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) return true;
    }
    return false;
}

}  // namespace

ActivityResult ReadXmlActivity(std::string_view bytes, const std::string& file) {
    ActivityResult result;
    const QByteArray data =
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QXmlStreamReader xml(data);
    if (!ReadToRoot(xml)) {
        result.error = msg::BrokenXml(file, xml.lineNumber());
        return result;
    }
    // The root's namespace decides; a GPX without one is still GPX.
    const QString ns = xml.namespaceUri().toString();
    xml::SampleSink sink(result.activity);
    if (xml::Is(xml, kTcxNamespace, u"TrainingCenterDatabase")) {
        result.activity.format = ActivityFormat::kTcx;
        if (xml::ReadTcx(xml, sink) > 1) result.warnings.push_back(msg::SeveralActivities(file));
    } else if (xml.name() == u"gpx" && (ns == kGpx11 || ns == kGpx10 || ns.isEmpty())) {
        result.activity.format = ActivityFormat::kGpx;
        xml::ReadGpx(xml, sink, ns);
    } else {
        result.error = msg::NotRideXml(file);
        return result;
    }
    if (sink.full()) {
        result.error = msg::TooManySamples(file);
        return result;
    }
    while (!xml.atEnd())
        xml.readNext();  // a document that breaks off shows only here
    if (xml.hasError()) {
        if (result.activity.samples.empty()) {
            result.error = msg::BrokenXml(file, xml.lineNumber());
            return result;
        }
        result.damaged = true;
        result.warnings.push_back(msg::DamagedKeptPart(file));
    }
    if (!Has(result.activity.startTime)) {
        result.activity.startTime = EarliestSampleTime(result.activity.samples);
    }
    return result;
}

}  // namespace kolvio::activity
