#include "activity/activity_file.h"

#include <filesystem>
#include <fstream>

#include "activity/activity_messages.h"
#include "activity/fit_decoder.h"
#include "activity/fit_reader.h"
#include "activity/xml_activity.h"

namespace kolvio::activity {

namespace {

// XML begins with "<" after an optional byte-order mark and blanks; a
// UTF-16 document is recognised by its byte-order mark.
bool LooksLikeXml(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return true;
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    const size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '<';
}

// The start of a FIT header too short to hold one.
bool LooksLikeCutFit(std::string_view bytes) {
    const auto size = static_cast<uint8_t>(bytes[0]);
    return bytes.size() < 12 && (size == 12 || size == 14);
}

ActivityResult Failure(std::string message) {
    ActivityResult result;
    result.error = std::move(message);
    return result;
}

}  // namespace

ActivityResult ReadActivityBytes(std::string_view bytes, const std::string& file) {
    if (bytes.empty()) return Failure(msg::Empty(file));
    if (fit::HasFitHeader(bytes)) return ReadFit(bytes, file);
    if (LooksLikeXml(bytes)) return ReadXmlActivity(bytes, file);
    if (LooksLikeCutFit(bytes)) return Failure(msg::BrokenFit(file));
    return Failure(msg::UnknownFormat(file));
}

ActivityResult ReadActivityFile(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::is_regular_file(status)) return Failure(msg::CannotRead(path));
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return Failure(msg::CannotRead(path));
    if (size > kMaxFileBytes) return Failure(msg::TooLarge(path));
    std::ifstream in(path, std::ios::binary);
    std::string bytes(size, '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size))) {
        return Failure(msg::CannotRead(path));
    }
    return ReadActivityBytes(bytes, path);
}

LoadedRide LoadRideFigures(const std::string& path, double heartRateLimit) {
    ActivityResult read = ReadActivityFile(path);
    LoadedRide ride;
    if (!read.ok()) {
        ride.error = std::move(read.error);
        return ride;
    }
    FiguresResult worked = WorkOutRideFigures(read.activity, heartRateLimit, path);
    if (!worked.ok()) {
        ride.error = std::move(worked.error);
        return ride;
    }
    ride.figures = worked.figures;
    ride.warnings = std::move(read.warnings);
    ride.damaged = read.damaged;
    return ride;
}

}  // namespace kolvio::activity
