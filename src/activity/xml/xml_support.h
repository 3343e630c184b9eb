// What the TCX and GPX readers share: reading values of elements and
// collecting samples within the bounds of an Activity. Qt inside.
#pragma once

#include <QStringView>
#include <QXmlStreamReader>

#include "activity/activity.h"

namespace kolvio::activity::xml {

inline bool Is(const QXmlStreamReader& xml, QStringView ns, QStringView name) {
    return xml.namespaceUri() == ns && xml.name() == name;
}

// The text of the current element as a finite number; kAbsent otherwise.
// Leaves the reader at the element's end.
double NumberOf(QXmlStreamReader& xml);

// The text of the current element as an XML date-time (time_text.h).
double TimeOf(QXmlStreamReader& xml);

// An attribute of the current element as a finite number; kAbsent otherwise.
double NumberAttribute(const QXmlStreamReader& xml, QLatin1StringView name);

// Collects the samples of a document, stopping at kMaxSamples.
class SampleSink {
public:
    explicit SampleSink(Activity& activity) : activity_(activity) {}

    // False once the activity is full; the reader then stops.
    bool add(const Sample& sample) {
        if (activity_.samples.size() == kMaxSamples) {
            full_ = true;
            return false;
        }
        activity_.samples.push_back(sample);
        return true;
    }
    bool full() const { return full_; }
    Activity& activity() { return activity_; }

private:
    Activity& activity_;
    bool full_ = false;
};

// The readers start at the root element's start and read to its end.
// ReadTcx returns how many activities (or courses) the file holds.
int ReadTcx(QXmlStreamReader& xml, SampleSink& sink);
void ReadGpx(QXmlStreamReader& xml, SampleSink& sink, QStringView gpxNamespace);

}  // namespace kolvio::activity::xml
