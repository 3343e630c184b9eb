// The summaries of the result viewer's context menu.
#include <QAction>

#include "app/form_hl.h"
#include "app/message_service.h"
#include "app/widgets/db_grid.h"
#include "data/database/database.h"
#include "query/fvysledek.h"
#include "query/fzobr_dotaz.h"
#include "query/result_columns.h"

namespace kolvio {

namespace {

// The field of a grid column in the table, or null.
const FieldLayout* FieldOf(const Table& table, const GridColumn& column) {
    const int f = FindField(table.fields(), column.field.toStdString());
    return f < 0 ? nullptr : &table.fields()[static_cast<size_t>(f)];
}

bool Summable(const Table& table, const GridColumn& column) {
    const FieldLayout* field = FieldOf(table, column);
    return field && IsSummableColumn(field->name, field->type);
}

}  // namespace

void TFZobr_Dotaz::enableSummaries() {
    const int c = currentColumn();
    const bool summable = c >= 0 && Summable(result(), DBGrid1->datasetModel()->column(c));
    for (QAction* a : {MSoucet, MPrumer, MMax, MMin})
        a->setEnabled(summable);
}

void TFZobr_Dotaz::summary(SummaryKind kind) {
    const int c = currentColumn();
    if (c < 0) return;
    const GridColumn& column = DBGrid1->datasetModel()->column(c);
    Table& table = result();
    if (!Summable(table, column)) return;
    const std::string statement =
        SummaryStatement(kind, FieldOf(table, column)->name, table.fileName());
    if (statement.empty()) return;
    // The second shared query; it only reads VYSLEDEK.
    LocalQuery& query = mainWindow().database().Query2();
    query.setSql({statement});
    const Status st = query.open();
    if (st.failed()) {
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
        return;
    }
    const Value value = query.result()->recordCount() > 0 ? query.result()->valueAt(0, 0) : Value();
    query.close();
    // Shown as the column shows its values; nothing to show over no rows.
    const QString text =
        value.isNull() ? QString() : (column.format ? column.format(value) : FormatValue(value));
    TFVysledek::Show(QString::fromStdString(SummaryCaption(kind, column.title.toStdString())), text,
                     &mainWindow());
}

void TFZobr_Dotaz::MPocetClick() {
    TFVysledek::Show(QString::fromUtf8(kCountCaption), QString::number(result().recordCount()),
                     &mainWindow());
}

}  // namespace kolvio
