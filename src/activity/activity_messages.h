// The Czech messages of reading an activity file, in one place. Each names
// the file and says what the rider can do.
#pragma once

#include <string>

namespace kolvio::activity::msg {

std::string CannotRead(const std::string& file);
std::string Empty(const std::string& file);
std::string TooLarge(const std::string& file);
std::string UnknownFormat(const std::string& file);
std::string NotRideXml(const std::string& file);
std::string BrokenXml(const std::string& file, long long line);
std::string BrokenFit(const std::string& file);
std::string TooManySamples(const std::string& file);
std::string NoSamples(const std::string& file);
std::string NoTimes(const std::string& file);
std::string NoMovement(const std::string& file);

// Warnings: the activity was read, but the rider should look at it.
std::string DamagedKeptPart(const std::string& file);
std::string BadChecksum(const std::string& file);
std::string SeveralActivities(const std::string& file);

}  // namespace kolvio::activity::msg
