// Bringing an older ride table up to the columns of this version.
#pragma once

#include <string>
#include <vector>

#include "data/database/shell_feedback.h"
#include "data/status.h"
#include "data/table.h"

namespace kolvio {

// Adds every column of RideUpgradeColumns() that the table file of `table`
// lacks (its directory and file name are used; the dataset itself stays
// closed), each by an ALTER TABLE statement of the SQL engine, and back-fills
// rok, thl_c and sr_mer of the existing rows, showing the gauge meanwhile.
//
// All of it happens on a staging copy beside the table, which replaces the
// table atomically at the end, and the table is held exclusively meanwhile:
// killed at any moment, the table is either untouched (the next opening does
// the whole upgrade again) or complete with every column and value. A table
// with all columns is not touched at all. `*added` receives the names of the
// added columns.
Status DodelejSloupec1(const Table& table, ShellFeedback& shell,
                       std::vector<std::string>* added = nullptr);

// The name of the staging copy used while upgrading `fileName`.
std::string UpgradeStagingName(const std::string& fileName);

}  // namespace kolvio
