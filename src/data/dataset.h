// The cursor interface shared by tables and SQL results.
//
// A dataset is a sequence of rows in some order with one current row. Grids
// and other data-aware widgets talk to this interface only, so a table and a
// query result look alike to them.
//
// Observers are told about moves and changes so widgets can repaint.
// disableControls()/enableControls() nest; while disabled no observer is
// called, and the final enableControls() sends one kDataChanged.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/dbf/field_def.h"
#include "data/status.h"
#include "data/value.h"

namespace kolvio {

enum class DatasetState { kInactive, kBrowse, kEdit, kInsert };

const char* StateName(DatasetState state);

// A use of a dataset that its state machine does not allow (a field set
// outside an edit, a transition not drawn in table.h, a state changed from a
// handler that runs before one) is a fault of the screen that makes it.
// Debug builds stop there with `message`, so that the screen tests catch
// it; other builds go on with the call refused.
[[noreturn]] void StateMachineMisused(const std::string& message);
#ifndef NDEBUG
#define KOLVIO_CHECK_STATE(condition, message) \
    ((condition) ? void(0) : ::kolvio::StateMachineMisused(message))
#else
#define KOLVIO_CHECK_STATE(condition, message) void(0)
#endif

enum class DataChange {
    kScrolled,      // another row became current
    kDataChanged,   // rows, their order or their number changed; reread everything
    kFieldChanged,  // a field of the current row was set while editing
    kStateChanged,  // open, close, edit, insert, post or cancel
};

class Dataset {
public:
    using Observer = std::function<void(DataChange change, int field)>;
    using ObserverId = int;

    virtual ~Dataset() = default;

    virtual bool isOpen() const = 0;
    virtual DatasetState state() const = 0;
    virtual const std::vector<FieldLayout>& fields() const = 0;

    // Rows visible in the current order, filter and master range.
    virtual int64_t recordCount() = 0;
    virtual Status first() = 0;
    virtual Status last() = 0;
    virtual Status next() = 0;
    virtual Status prior() = 0;
    // Moves n rows forward (backward when negative), stopping at either end.
    virtual Status moveBy(int64_t n);
    // True after next() ran past the last row, or on an empty dataset.
    virtual bool eof() const = 0;
    // True after prior() ran before the first row, after first(), or when empty.
    virtual bool bof() const = 0;
    virtual bool isEmpty() { return recordCount() == 0; }

    // Zero-based position of the current row in the current order; -1 when empty.
    virtual int64_t rowNumber() = 0;
    virtual Status moveToRow(int64_t row) = 0;

    // Value of field `index` in the current row (the edit buffer while editing).
    virtual Value value(int index) const = 0;

    // The stored values of `fields` (indexes into fields(); -1 reads as null)
    // in the visible row `row` (zero-based, current order), read without
    // moving the cursor: no handler runs, no observer is told, and an edit
    // in progress is neither posted nor seen. Grids read the rows they paint
    // this way, so that a screen's after-scroll handlers run only when the
    // rider moves.
    virtual Status valuesAt(int64_t row, const std::vector<int>& fields,
                            std::vector<Value>* out) = 0;

    int fieldIndex(std::string_view name) const { return FindField(fields(), name); }
    bool hasField(std::string_view name) const { return fieldIndex(name) >= 0; }
    // Unknown names read as null.
    Value value(std::string_view name) const;
    bool isNull(std::string_view name) const { return value(name).isNull(); }
    double getDouble(std::string_view name) const { return value(name).asDouble(); }
    int64_t getInt(std::string_view name) const { return value(name).asInt(); }
    std::string getString(std::string_view name) const;
    bool getBool(std::string_view name) const { return value(name).asBool(); }
    std::optional<Date> getDate(std::string_view name) const;

    ObserverId addObserver(Observer observer);
    void removeObserver(ObserverId id);
    void disableControls() { ++disabled_; }
    void enableControls();
    bool controlsDisabled() const { return disabled_ > 0; }

protected:
    void notify(DataChange change, int field = -1);

private:
    struct Entry {
        ObserverId id;
        Observer fn;
    };
    std::vector<Entry> observers_;
    ObserverId nextObserverId_ = 1;
    int disabled_ = 0;
};

}  // namespace kolvio
