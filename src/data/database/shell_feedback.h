// What the database shows through the program's shell.
//
// The Qt main window implements this: the caption, the fifth status-bar panel
// with its gauge, and the engine driver settings kept in the settings file.
// src/data knows nothing of the shell, so the shell supplies the path
// shortening of the caption too (ShortenPath of src/app). Tests record calls.
#pragma once

#include <string>

namespace kolvio {

// "KOLVIO 2.3 {<shortened directory>} " (note the trailing blank).
std::string DatabaseCaption(const std::string& shortenedDir);

class ShellFeedback {
public:
    virtual ~ShellFeedback() = default;

    // The path of `dir` as the caption shows it, at most about `max`
    // characters. The main window answers ShortenPath(dir, max).
    virtual std::string shortenPath(const std::string& dir, int max) {
        (void)max;
        return dir;
    }
    virtual void setCaption(const std::string& caption) { (void)caption; }
    // Text of the fifth status-bar panel in normal mode.
    virtual void setStatusText(const std::string& text) { (void)text; }
    // Switches the panel to the gauge at 0 with `text` beside it.
    virtual void showGauge(const std::string& text) { (void)text; }
    // Gauge position 0..100; called only when the position changes.
    virtual void setGauge(int percent) { (void)percent; }
    // Back to normal mode with an empty text.
    virtual void hideGauge() {}
    // Runs before the datasets are bound to a directory and before each of
    // them opens: the shell puts the required driver and level into the
    // engine and records the previous ones (ApplyDriverSettings).
    virtual void applyDriverSettings() {}
};

}  // namespace kolvio
