#include "activity/xml_activity.h"

#include <memory>

#include "activity/activity_messages.h"
#include "activity/xml/element_walk.h"
#include "activity/xml/xml_support.h"

namespace kolvio::activity {

namespace {

constexpr std::string_view kTcxNamespace =
    "http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2";
constexpr std::string_view kGpx11 = "http://www.topografix.com/GPX/1/1";
constexpr std::string_view kGpx10 = "http://www.topografix.com/GPX/1/0";

// The root element's namespace decides the format, a GPX without one
// still being GPX; the format's reader then reads the document.
class DocumentReader : public xml::ElementReader {
public:
    explicit DocumentReader(Activity& activity) : sink_(activity) {}

    xml::State enter(xml::State parent, const xml::Element& e) override {
        if (parent == xml::kDocument) {
            sawRoot_ = true;
            if (e.is(kTcxNamespace, "TrainingCenterDatabase")) {
                sink_.activity().format = ActivityFormat::kTcx;
                format_ = xml::MakeTcxReader(sink_, activities_);
            } else if (e.name == "gpx" && (e.ns == kGpx11 || e.ns == kGpx10 || e.ns.empty())) {
                sink_.activity().format = ActivityFormat::kGpx;
                format_ = xml::MakeGpxReader(sink_, e.ns);
            } else {
                return xml::kSkip;  // and stopped(): no need to read on
            }
        }
        return format_->enter(parent, e);
    }
    bool readsText(xml::State state) const override { return format_->readsText(state); }
    void leave(xml::State state, std::string_view text) override { format_->leave(state, text); }
    bool stopped() const override { return (sawRoot_ && !format_) || sink_.full(); }

    bool sawRoot() const { return sawRoot_; }
    bool isRide() const { return format_ != nullptr; }
    bool full() const { return sink_.full(); }
    int activities() const { return activities_; }

private:
    xml::SampleSink sink_;
    std::unique_ptr<xml::ElementReader> format_;
    bool sawRoot_ = false;
    int activities_ = 0;
};

}  // namespace

ActivityResult ReadXmlActivity(std::string_view bytes, const std::string& file) {
    ActivityResult result;
    DocumentReader reader(result.activity);
    const xml::WalkEnd end = xml::WalkElements(bytes, reader);
    if (!reader.sawRoot()) {
        result.error = msg::BrokenXml(file, end.line);
        return result;
    }
    if (!reader.isRide()) {
        result.error = msg::NotRideXml(file);
        return result;
    }
    if (reader.activities() > 1) result.warnings.push_back(msg::SeveralActivities(file));
    if (reader.full()) {
        result.error = msg::TooManySamples(file);
        return result;
    }
    if (end.broken) {
        if (result.activity.samples.empty()) {
            result.error = msg::BrokenXml(file, end.line);
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
