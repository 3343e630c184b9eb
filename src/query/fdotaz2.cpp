#include "query/fdotaz2.h"

#include <QApplication>
#include <QTabWidget>

#include "app/form_hl.h"
#include "app/message_service.h"
#include "data/database/database.h"
#include "query/columns_page.h"
#include "query/extreme_page.h"

namespace kolvio {

TFDotaz2::TFDotaz2(TForm_hl& main) : TFDotaz1(main) {
    setObjectName(QStringLiteral("FDotaz2"));
    PageExtrem = new ExtremePage(PageControl1);
    PageExtrem->setObjectName(QStringLiteral("PageExtrem"));
    addPage(PageExtrem, QStringLiteral("Extrém"), 910, 0);
    PageControl1->setCurrentIndex(0);
}

void TFDotaz2::Button1Click() {
    const std::vector<ChosenExtreme> entries = PageExtrem->chosen();
    const std::vector<std::string> labels = PageZobrazit->chosen();
    if (entries.empty() || labels.empty()) return;
    Database& db = mainWindow().database();
    closeOpenViewer();
    std::vector<int> codes;
    for (const ChosenExtreme& e : entries)
        codes.push_back(e.code);
    LocalQuery& query = db.Query1();
    query.setSql(ExtremeStatement(&state_, ExtremeSelectColumns(codes, labels)));

    QApplication::setOverrideCursor(Qt::WaitCursor);
    mainWindow().applyDriverSettings();
    db.TVYSL().close();
    ExtremesReport report;
    const Status st =
        BuildExtremes(db.DataDir(), query.sql(), entries, labels, db.TPOMOCNE(), &report);
    QApplication::restoreOverrideCursor();
    if (!st.ok()) {
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
        return;
    }
    showResult();
}

}  // namespace kolvio
