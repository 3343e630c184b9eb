// A local SQL statement bound to the directory of the open database.
//
// The query screens keep the statement as lines (as the query builder
// assembles it), run it, and read its rows as a dataset. A query is closed
// whenever the database it is bound to changes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/sql/result_set.h"
#include "data/status.h"

namespace kolvio {

class LocalQuery {
public:
    // Runs before every statement; the database hooks its driver settings here.
    void setBeforeOpen(std::function<void()> hook) { beforeOpen_ = std::move(hook); }

    // Binding to a directory closes the query.
    void setDirectory(std::string directory);
    const std::string& directory() const { return directory_; }

    // The statement's lines; changing them closes the query.
    const std::vector<std::string>& sql() const { return lines_; }
    void setSql(std::vector<std::string> lines);
    void clearSql() { setSql({}); }
    void addSql(std::string line);

    // Runs a SELECT and keeps its rows; a refused statement leaves the query closed.
    Status open();
    // Runs a statement without a result (ALTER TABLE).
    Status execSql();
    void close();
    bool isOpen() const { return result_ != nullptr; }
    // The rows of the open query; null while closed.
    sql::ResultSet* result() const { return result_.get(); }

private:
    std::string text() const;

    std::function<void()> beforeOpen_;
    std::string directory_;
    std::vector<std::string> lines_;
    std::unique_ptr<sql::ResultSet> result_;
};

}  // namespace kolvio
