// libFuzzer harness: any bytes through the TCX and GPX readers (and the
// recognition of the format) and, when they are read, through the ride's
// figures. Seeds: corpus/xml_reader; dictionary: xml_reader.dict.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "activity/activity_figures.h"
#include "activity/xml_activity.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kolvio::activity;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ActivityResult read = ReadXmlActivity(bytes, "fuzz.xml");
    if (read.ok()) (void)WorkOutRideFigures(read.activity, 150, "fuzz.xml");
    return 0;
}
