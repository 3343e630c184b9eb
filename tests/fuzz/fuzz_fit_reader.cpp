// libFuzzer harness: any bytes through the FIT reader and, when it reads
// them, through the ride's figures. Nothing may crash, hang, leak or read
// outside the input. Seeds: corpus/fit_reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "activity/activity_figures.h"
#include "activity/fit_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kolvio::activity;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ActivityResult read = ReadFit(bytes, "fuzz.fit");
    if (read.ok()) (void)WorkOutRideFigures(read.activity, 150, "fuzz.fit");
    return 0;
}
