#include "app/Form1.h"

#include "widgets/TextBox.h"
#include "data/DataCursor.h"
#include "data/Recordset.h"
#include "data/Statements.h"
#include "widgets/Swatch.h"

namespace {

const QColor notFoundColour(192, 0, 0);

} // namespace

void Form1::enterCode()
{
    const std::initializer_list<TextBox *> fields = {findcode_txt1, findcode_txt2, findcode_txt3};
    for (TextBox *field : fields)
        field->setForeColor(Qt::black);

    const QString code = findcode_txt1->text() + QLatin1Char('.') + findcode_txt2->text()
                         + QLatin1Char('.') + findcode_txt3->text();

    data1->setRecordSource(Statements::codeLookup(code));
    data1->Refresh();
    Recordset &found = data1->recordset();
    if (found.RecordCount() != 0) {
        // Read the row before the page load replaces the cursor's result.
        const qint64 page = found.field(QStringLiteral("Page")).toLongLong();
        const QString foundCode = found.field(QStringLiteral("Code")).toString();
        pageMove(page);
        // Frame the swatch that shows the found colour: its place in the
        // column, which equals its Row only when the page's rows have no gaps.
        for (int index : pagecolor.indexes()) {
            if (index >= 1 && pagecolor(index)->toolTip() == foundCode) {
                pageDisp(index);
                break;
            }
        }
        icode_char = 0;
        color_a = code;
    } else {
        for (TextBox *field : fields)
            field->setForeColor(notFoundColour);
        icode_char = 1;
    }

    data1->setRecordSource(Statements::cardReset());
    data1->Refresh();
    findcode_txt1->setFocus();
}
