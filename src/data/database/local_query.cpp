#include "data/database/local_query.h"

#include "data/sql/sql_engine.h"

namespace kolvio {

void LocalQuery::setDirectory(std::string directory) {
    close();
    directory_ = std::move(directory);
}

void LocalQuery::setSql(std::vector<std::string> lines) {
    close();
    lines_ = std::move(lines);
}

void LocalQuery::addSql(std::string line) {
    close();
    lines_.push_back(std::move(line));
}

std::string LocalQuery::text() const {
    return sql::JoinStatementLines(lines_);
}

Status LocalQuery::open() {
    close();
    if (beforeOpen_) beforeOpen_();
    std::unique_ptr<sql::ResultSet> result;
    KOLVIO_RETURN_IF_ERROR(sql::Query(directory_, text(), &result));
    result_ = std::move(result);
    return Status::Ok();
}

Status LocalQuery::execSql() {
    close();
    if (beforeOpen_) beforeOpen_();
    return sql::Execute(directory_, text());
}

void LocalQuery::close() {
    result_.reset();
}

}  // namespace kolvio
