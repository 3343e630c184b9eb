#include "query/ride_history.h"

#include <set>

#include "data/sql/sql_engine.h"

namespace kolvio {

namespace {

constexpr char kDateIndex[] = "DATUM";
constexpr char kDateField[] = "DATUM";

// A handle of its own on the rides' file, ordered by date, on the latest ride.
Status OpenAtLatest(const Table& rides, Table* probe, bool* any) {
    probe->setDirectory(rides.directory());
    probe->setFileName(rides.fileName());
    KOLVIO_RETURN_IF_ERROR(probe->open());
    KOLVIO_RETURN_IF_ERROR(probe->setIndexName(kDateIndex));
    KOLVIO_RETURN_IF_ERROR(probe->last());
    *any = !probe->isEmpty();
    return Status::Ok();
}

}  // namespace

Status UsedYears(const std::string& dataDir, std::vector<int>* years) {
    std::set<int> found;
    const Status st = sql::QueryEach(
        dataDir, "select datum from jizdy", [](const std::vector<FieldDef>&) {},
        [&found](const std::vector<Value>& row) {
            if (row[0].isDate()) found.insert(row[0].asDate().year());
        });
    years->assign(found.begin(), found.end());
    return st;
}

Status LatestRideValues(const Table& rides, const std::vector<std::string_view>& fields,
                        std::optional<std::vector<Value>>* values) {
    values->reset();
    Table probe;
    bool any = false;
    KOLVIO_RETURN_IF_ERROR(OpenAtLatest(rides, &probe, &any));
    if (!any) return Status::Ok();
    std::vector<Value> out;
    for (std::string_view field : fields)
        out.push_back(probe.hasField(field) ? probe.value(field) : Value(1));
    *values = std::move(out);
    return Status::Ok();
}

Status LatestRideDates(const Table& rides, int64_t count, std::optional<RideDates>* dates) {
    dates->reset();
    Table probe;
    bool any = false;
    KOLVIO_RETURN_IF_ERROR(OpenAtLatest(rides, &probe, &any));
    if (!any) return Status::Ok();
    RideDates out;
    out.to = probe.getDate(kDateField);
    if (count > 1) KOLVIO_RETURN_IF_ERROR(probe.moveBy(-(count - 1)));
    out.from = probe.getDate(kDateField);
    *dates = out;
    return Status::Ok();
}

}  // namespace kolvio
