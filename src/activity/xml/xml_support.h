// What the TCX and GPX readers share: values of elements and attributes,
// and collecting samples within the bounds of an Activity.
#pragma once

#include <memory>
#include <string_view>

#include "activity/activity.h"
#include "activity/xml/element_walk.h"

namespace kolvio::activity::xml {

// A value's text as a finite number; kAbsent otherwise. Blanks around it
// (any Unicode space) are allowed; the number is written as in C: a sign,
// digits with a decimal point, an exponent.
double NumberOf(std::string_view text);

// A value's text as an XML date-time (time_text.h); kAbsent otherwise.
double TimeOf(std::string_view text);

// An attribute's value as a number, kAbsent when it is missing.
double NumberAttribute(const Element& element, std::string_view name);

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

// The readers of the two formats, handed the document from its root
// element on. The TCX reader counts the activities (or courses) in the
// file into `activities`; it reads the first.
std::unique_ptr<ElementReader> MakeTcxReader(SampleSink& sink, int& activities);
std::unique_ptr<ElementReader> MakeGpxReader(SampleSink& sink, std::string_view gpxNamespace);

}  // namespace kolvio::activity::xml
