#include "data/database/database.h"

#include "data/database/codepage_upgrade.h"
#include "data/database/index_helpers.h"
#include "data/database/ride_upgrade.h"
#include "data/database/schema.h"
#include "data/file.h"
#include "kolvio_version.h"

namespace kolvio {

namespace {

constexpr int kCaptionPathMax = 30;

std::string WithoutTrailingSeparator(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

std::string PartialDatabaseMessage(const std::string& dir, const std::vector<std::string>& found) {
    std::string files;
    for (const std::string& f : found)
        files += (files.empty() ? "" : ", ") + f;
    return "Adresář \"" + dir + "\" obsahuje jen část databáze (" + files +
           "), chybí v něm další tabulky.\nAby se tyto soubory nepřepsaly, databáze nebyla "
           "otevřena ani založena. Obnovte chybějící soubory ze zálohy, nebo vyberte jiný "
           "adresář.";
}

}  // namespace

std::string DatabaseCaption(const std::string& shortenedDir) {
    return std::string("KOLVIO ") + kVersionShort + " {" + shortenedDir + "} ";
}

std::vector<std::string> DatabaseFilesFound(const std::string& dir) {
    std::vector<std::string> found;
    for (std::string_view name : kDatabaseFiles) {
        const std::string path = ResolveInDirectory(dir, std::string(name));
        if (PathExists(path)) found.push_back(BaseName(path));
    }
    return found;
}

bool DatabaseFilesPresent(const std::string& dir, int mode) {
    const size_t count = DatabaseFilesFound(dir).size();
    if (mode == 1) return count > 4;
    if (mode == 2) return count > 0;
    return false;
}

Database::Database(ShellFeedback* shell)
    : shell_(shell ? shell : &quiet_),
      table1_("", "jizdy.dbf"),
      ttrnz_("", "TYP_TRNZ.dbf"),
      ttrn_("", "TYP_TRN.dbf"),
      ttkol_("", "TYP_KOL.dbf"),
      ttrs_("", "typ_trs.dbf"),
      tthld_("", "typ_hld.dbf"),
      tvysl_("", std::string(kResultFile)),
      tpomocne_("", std::string(kAuxiliaryFile)) {
    ttrn_.setMaster(&ttrnz_, "TRNZ_C", "TRNZ_C");
    ttrs_.setFilter(TTRSFilterRecord);
    for (Table* t : {&table1_, &ttrnz_, &ttrn_, &ttkol_, &ttrs_, &tthld_, &tvysl_, &tpomocne_}) {
        t->on(TableEvent::kBeforeOpen, [this](Table&) {
            shell_->applyDriverSettings();
            return Status::Ok();
        });
    }
    for (LocalQuery* q : {&query1_, &query2_}) {
        q->setBeforeOpen([this] { shell_->applyDriverSettings(); });
    }
}

Database::~Database() = default;

bool Database::TTRSFilterRecord(const Table& table) {
    return table.getDouble("TRS_C") != 0;
}

std::vector<Table*> Database::coreTables() {
    return {&table1_, &ttrn_, &ttrnz_, &ttkol_, &ttrs_, &tthld_};
}

void Database::closeCoreTables() {
    for (Table* t : coreTables())
        t->close();
    query1_.close();
    query2_.close();
}

void Database::bindCoreTables(const std::string& dir) {
    for (Table* t : {&table1_, &ttrnz_, &ttrn_, &ttkol_, &ttrs_, &tthld_, &tvysl_, &tpomocne_}) {
        t->setDirectory(dir);
    }
    query1_.setDirectory(dir);
    query2_.setDirectory(dir);
}

Table* Database::tableFor(std::string_view fileName) {
    for (Table* t : coreTables()) {
        if (EqualsIgnoreCase(t->fileName(), fileName)) return t;
    }
    return nullptr;
}

Status Database::MOtevriNovaDB(const std::string& requested, OverwritePolicy policy,
                               OpenReport* report) {
    OpenReport local;
    OpenReport& done = report ? *report : local;
    done = OpenReport();
    const std::string dir = WithoutTrailingSeparator(requested);
    // Whether the folder is there is what counts: for one that cannot be
    // made the caller names the folder and asks for another (kAborted).
    (void)MakeDirectories(dir);
    if (!IsDirectory(dir)) return Status::Aborted();
    const bool isNew = !DatabaseFilesPresent(dir, 1);
    // Table files beside the folder of an interrupted creation are our own.
    if (isNew && policy == OverwritePolicy::kKeepFiles && !CreationInterrupted(dir)) {
        const std::vector<std::string> found = DatabaseFilesFound(dir);
        if (!found.empty()) return Status::Invalid(PartialDatabaseMessage(dir, found));
    }

    closeCoreTables();
    shell_->applyDriverSettings();
    bindCoreTables(dir);
    KOLVIO_RETURN_IF_ERROR(createOrUpgrade(dir, isNew, &done));
    KOLVIO_RETURN_IF_ERROR(ensureIndexes(&done));
    KOLVIO_RETURN_IF_ERROR(openCoreTables());
    shell_->setCaption(DatabaseCaption(shell_->shortenPath(dir, kCaptionPathMax)));
    dataDir_ = dir;
    return Status::Ok();
}

// Creates a new database, or brings an existing one up to date.
Status Database::createOrUpgrade(const std::string& dir, bool isNew, OpenReport* report) {
    report->created = isNew;
    if (isNew) return createWithDefaultRows(dir, true);
    // A creation that got as far as five tables leaves its folder behind.
    KOLVIO_RETURN_IF_ERROR(RemoveCreationStaging(dir));
    if (!tthld_.fileExists()) {
        KOLVIO_RETURN_IF_ERROR(createWithDefaultRows(dir, false));
        report->watchTypesCreated = true;
    }
    KOLVIO_RETURN_IF_ERROR(DodelejSloupec1(table1_, *shell_, &report->columnsAdded));
    for (std::string_view name : {"jizdy.dbf", "typ_hld.dbf", "typ_kol.dbf", "typ_trn.dbf",
                                  "typ_trnz.dbf", "typ_trs.dbf"}) {
        bool converted = false;
        KOLVIO_RETURN_IF_ERROR(ConvertTableCodepage(dir, std::string(name), &converted));
        if (converted) report->tablesConverted.push_back(std::string(name));
    }
    return Status::Ok();
}

Status Database::ensureIndexes(OpenReport* report) {
    for (const IndexedTable& entry : MaintainedIndexes()) {
        Table* table = tableFor(entry.fileName);
        for (std::string_view index : entry.indexes) {
            bool created = false;
            KOLVIO_RETURN_IF_ERROR(EnsureIndex(*table, index, index, false, false, &created));
            if (created) {
                report->indexesCreated.push_back(std::string(entry.fileName) + " " +
                                                 std::string(index));
            }
        }
    }
    return Status::Ok();
}

Status Database::openCoreTables() {
    // The link names the index TRNZ_C, which exists only from now on.
    ttrn_.setMaster(&ttrnz_, "TRNZ_C", "TRNZ_C");
    for (Table* t : {&table1_, &ttrn_, &ttrnz_, &ttkol_, &ttrs_, &tthld_}) {
        KOLVIO_RETURN_IF_ERROR(t->open());
    }
    return Status::Ok();
}

Status Database::CompactDatabase(std::vector<Status>* results) {
    if (results) results->clear();
    if (dataDir_.empty()) return Status::Ok();
    struct Step {
        Table* table;
        const char* text;
    };
    const Step steps[] = {
        {&table1_, "Probíhá komprese jízd"},
        {&ttrnz_, "Probíhá komprese typu jízd - základní"},
        {&ttrn_, "Probíhá komprese typu jízd - vedlejší"},
        {&ttkol_, "Probíhá komprese kol"},
        {&ttrs_, "Probíhá komprese tratí"},
        {&tthld_, "Probíhá komprese hlídání tepu"},
    };
    for (const Step& s : steps)
        s.table->close();
    std::string fullDiskAt;  // the table whose packing ran out of space
    for (const Step& s : steps) {
        if (!fullDiskAt.empty()) {
            if (results) {
                results->push_back(Status::NoSpace(
                    "Tabulka \"" + s.table->fileName() +
                    "\" nebyla zkomprimována, protože na disku došlo místo už při kompresi \"" +
                    fullDiskAt + "\". Uvolněte místo na disku a kompresi spusťte znovu."));
            }
            continue;
        }
        shell_->setStatusText(s.text);
        packer_.setDirectory(s.table->directory());
        packer_.setFileName(s.table->fileName());
        const Status packed = packer_.Pack();
        if (packed.code() == Status::Code::kNoSpace) fullDiskAt = s.table->fileName();
        if (results) results->push_back(packed);
    }
    shell_->setStatusText("");
    Status result;
    for (const Step& s : steps) {
        const Status st = s.table->open();
        if (result.ok()) result = st;
    }
    return result;
}

}  // namespace kolvio
