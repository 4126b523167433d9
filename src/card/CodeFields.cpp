#include "app/Form1.h"

#include "widgets/TextBox.h"

namespace {

constexpr int keySpace = 32;
constexpr int keyEnter = 13;
// A field holding a whole group hands the focus on.
constexpr int groupLength = 2;

} // namespace

void Form1::findcode_KeyDown()
{
    // After a successful lookup the first key starts a new code.
    if (icode_char == 0) {
        findcode_txt1->setText(QString());
        findcode_txt2->setText(QString());
        findcode_txt3->setText(QString());
        icode_char = 1;
    }
}

void Form1::findcode_KeyPress(int &keyAscii)
{
    keyAscii = QChar(char16_t(keyAscii)).toUpper().unicode();
    if (keyAscii == keySpace) {
        keyAscii = 0;
    } else if (keyAscii == keyEnter) {
        keyAscii = 0;
        enterCode();
    }
}

void Form1::findcode_KeyUp(TextBox *field)
{
    if (field->text().size() != groupLength)
        return;
    TextBox *next = field == findcode_txt1 ? findcode_txt2
                    : field == findcode_txt2 ? findcode_txt3
                                             : findcode_txt1;
    next->setFocus();
}
