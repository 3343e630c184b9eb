// Creating a new database, or the typ_hld of an older one, so that a crash at
// any moment never leaves a table without its default rows.
#include <algorithm>

#include "data/database/database.h"
#include "data/database/schema.h"
#include "data/dbf/memo_file.h"
#include "data/file.h"
#include "data/index/index_def.h"

namespace kolvio {

namespace {

std::string StagingFolder(const std::string& dir) {
    return JoinPath(dir, std::string(kCreationStagingFolder));
}

// Memo files first (a table never arrives without its memo file), then the
// tables, typ_hld.dbf last: once five tables are in place the directory is a
// database, and a missing typ_hld is what the opening of an older database
// creates anyway.
int MoveRank(const std::string& name) {
    if (EqualsIgnoreCase(name, kWatchTypesFile)) return 2;
    const bool table = name.size() > 4 && EqualsIgnoreCase(name.substr(name.size() - 4), ".dbf");
    return table ? 1 : 0;
}

}  // namespace

bool CreationInterrupted(const std::string& dir) {
    return IsDirectory(StagingFolder(dir));
}

Status RemoveCreationStaging(const std::string& dir) {
    const std::string folder = StagingFolder(dir);
    if (!IsDirectory(folder)) return Status::Ok();
    std::vector<std::string> names;
    KOLVIO_RETURN_IF_ERROR(ListDirectory(folder, &names));
    for (const std::string& name : names)
        KOLVIO_RETURN_IF_ERROR(RemoveFile(JoinPath(folder, name)));
    return RemoveDirectory(folder);
}

Status Database::fillDefaultRows(bool wholeDatabase) {
    if (!wholeDatabase) {
        KOLVIO_RETURN_IF_ERROR(tthld_.open());
        return ImplHodNovaDB_TTHLD();
    }
    for (Table* t : {&ttrnz_, &ttrn_, &ttkol_, &ttrs_, &tthld_})
        KOLVIO_RETURN_IF_ERROR(t->open());
    return ImplHodNovaDB();
}

Status Database::createWithDefaultRows(const std::string& dir, bool wholeDatabase) {
    const std::string staging = StagingFolder(dir);
    KOLVIO_RETURN_IF_ERROR(RemoveCreationStaging(dir));
    std::vector<std::string> files;
    const Status staged = [&]() -> Status {
        KOLVIO_RETURN_IF_ERROR(MakeDirectories(staging));
        std::vector<std::string_view> names = {kWatchTypesFile};
        if (wholeDatabase) names.assign(kDatabaseFiles.begin(), kDatabaseFiles.end());
        for (std::string_view name : names) {
            KOLVIO_RETURN_IF_ERROR(Table::Create(staging, std::string(name), CreatedFields(name)));
        }
        bindCoreTables(staging);
        const Status filled = fillDefaultRows(wholeDatabase);
        closeCoreTables();
        bindCoreTables(dir);
        KOLVIO_RETURN_IF_ERROR(filled);
        return ListDirectory(staging, &files);
    }();
    if (!staged.ok()) {
        // Nothing has moved yet: the folder goes back to what it was. (Should
        // that fail too, the next opening finds the staging folder and
        // starts the creation again.)
        (void)RemoveCreationStaging(dir);
        return staged;
    }
    std::stable_sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        return MoveRank(a) < MoveRank(b);
    });
    for (const std::string& name : files) {
        const std::string target = ResolveInDirectory(dir, name);
        KOLVIO_RETURN_IF_ERROR(ReplaceFileAtomically(JoinPath(staging, name), target));
        // A replaced table starts without indexes, like any new table.
        if (MoveRank(name) > 0) KOLVIO_RETURN_IF_ERROR(RemoveFile(IndexSidecarPath(target)));
    }
    return RemoveDirectory(staging);
}

}  // namespace kolvio
