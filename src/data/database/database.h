// The open training database: the shared datasets of the main window and the
// operations that open, create, upgrade and compact a database directory.
//
// The main window owns one Database for the whole run and hands it to every
// screen; screens never open tables of their own. All datasets are bound to
// DataDir() once a directory has been opened.
//
//   Table1  jizdy.dbf       rides
//   TTRNZ   TYP_TRNZ.dbf    primary ride types
//   TTRN    TYP_TRN.dbf     secondary ride types, detail of TTRNZ through the
//                           index TRNZ_C with master field TRNZ_C
//   TTKOL   TYP_KOL.dbf     bikes
//   TTRS    typ_trs.dbf     routes; TTRSFilterRecord hides route 0 while its
//                           filtering is on
//   TTHLD   typ_hld.dbf     heart-rate-limit watch types
//   TVYSL   VYSLEDEK.dbf    query result (work table)
//   TPOMOCNE pomocne.dbf    auxiliary work table
//
// Before any of them opens, the shell's applyDriverSettings() runs. Local SQL
// runs through sql::Query / sql::Execute over DataDir().
#pragma once

#include <string>
#include <vector>

#include "data/database/local_query.h"
#include "data/database/packer.h"
#include "data/database/shell_feedback.h"
#include "data/status.h"
#include "data/table.h"

namespace kolvio {

// Counts which of the six table files exist in `dir`. Mode 1: true when more
// than four do (the directory holds a database). Mode 2: true when any does
// (creating a database would overwrite something). Any other mode: false.
bool DatabaseFilesPresent(const std::string& dir, int mode);
// The table files of the six that exist in `dir`, as named on disk.
std::vector<std::string> DatabaseFilesFound(const std::string& dir);

// A new database (or the typ_hld of an older one) is made complete with its
// default rows in this folder inside the database directory and then moved
// into place table by table, typ_hld.dbf last. The folder exists only while
// that happens: found at the next opening, it means the creation was
// interrupted, and the table files beside it are the program's own.
inline constexpr std::string_view kCreationStagingFolder = ".kolvio-novadb";
bool CreationInterrupted(const std::string& dir);
Status RemoveCreationStaging(const std::string& dir);

// What MOtevriNovaDB may do with a directory that holds one to four of the
// six table files (too few for a database).
enum class OverwritePolicy {
    // Refuse to open it and keep the files: at start and from the recent
    // database list, where nobody was asked.
    kKeepFiles,
    // Create a new database over them: the user has answered the overwrite
    // question of "Nová..." with Yes.
    kReplace,
};

// What opening a directory did, for kolvio-db open and the tests.
struct OpenReport {
    bool created = false;                      // a new database with default rows
    bool watchTypesCreated = false;            // typ_hld created and filled
    std::vector<std::string> columnsAdded;     // columns added to jizdy
    std::vector<std::string> tablesConverted;  // tables converted to code page 852
    std::vector<std::string> indexesCreated;   // "typ_trs.dbf TRS_N2"
};

class Database {
public:
    // `shell` receives the caption, status texts and gauge; it must outlive
    // the database. Null: nothing is shown.
    explicit Database(ShellFeedback* shell = nullptr);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Table& Table1() { return table1_; }
    Table& TTRNZ() { return ttrnz_; }
    Table& TTRN() { return ttrn_; }
    Table& TTKOL() { return ttkol_; }
    Table& TTRS() { return ttrs_; }
    Table& TTHLD() { return tthld_; }
    Table& TVYSL() { return tvysl_; }
    Table& TPOMOCNE() { return tpomocne_; }
    TBSPktbl& BSPktbl1() { return packer_; }
    LocalQuery& Query1() { return query1_; }
    LocalQuery& Query2() { return query2_; }
    // Directory of the open database, without a trailing separator; empty
    // until a directory has been opened.
    const std::string& DataDir() const { return dataDir_; }

    // Makes `dir` the open database: creates the directory when missing,
    // creates a new database with default rows when it holds fewer than five
    // of the six table files (see OverwritePolicy for one to four), otherwise
    // upgrades it (missing typ_hld, columns of jizdy, code page), makes sure
    // every maintained index exists, opens the six tables and sets the
    // caption.
    //  - A directory that cannot be created: Aborted (nothing to show), and
    //    nothing is closed or changed.
    //  - One to four table files under kKeepFiles: a failure whose Czech
    //    message names the directory and the files; nothing is closed or
    //    changed (unless an interrupted creation left them, see above).
    //  - A store error on the way: that error; the datasets stay closed and
    //    DataDir() keeps the previous directory.
    Status MOtevriNovaDB(const std::string& dir, OverwritePolicy policy,
                         OpenReport* report = nullptr);

    // Default rows of a new database, appended to the open tables (while a
    // database is created, the datasets are bound to the staging folder):
    // ImplHodNovaDB fills typ_trnz, typ_trn, typ_trs and typ_kol and then
    // calls ImplHodNovaDB_TTHLD, which fills typ_hld alone.
    Status ImplHodNovaDB();
    Status ImplHodNovaDB_TTHLD();

    // Packs the six tables of the open database with BSPktbl1, showing each
    // table's text in the status panel. A table that cannot be packed (held
    // by another program, read-only ...) is skipped and the next one packed;
    // once one fails for lack of disk space the rest are not tried, so the
    // disk is not filled six times over. `*results` gets the outcome of each
    // table in the order jizdy, typ_trnz, typ_trn, typ_kol, typ_trs, typ_hld
    // (ok: packed). Whatever happens the six tables are reopened; the result
    // is the first failure to reopen.
    Status CompactDatabase(std::vector<Status>* results = nullptr);

    // Filter of TTRS: accepts rows whose TRS_C is not 0.
    static bool TTRSFilterRecord(const Table& table);

private:
    std::vector<Table*> coreTables();
    void closeCoreTables();
    void bindCoreTables(const std::string& dir);
    Status createOrUpgrade(const std::string& dir, bool isNew, OpenReport* report);
    Status createWithDefaultRows(const std::string& dir, bool wholeDatabase);
    Status fillDefaultRows(bool wholeDatabase);
    Status ensureIndexes(OpenReport* report);
    Status openCoreTables();
    Table* tableFor(std::string_view fileName);

    ShellFeedback quiet_;
    ShellFeedback* shell_;
    std::string dataDir_;
    // TTRNZ is declared before TTRN: the detail lets go of its master when
    // destroyed, so the master must outlive it.
    Table table1_;
    Table ttrnz_;
    Table ttrn_;
    Table ttkol_;
    Table ttrs_;
    Table tthld_;
    Table tvysl_;
    Table tpomocne_;
    TBSPktbl packer_;
    LocalQuery query1_;
    LocalQuery query2_;
};

}  // namespace kolvio
