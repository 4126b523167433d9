#include "app/Form1.h"

#include "widgets/TextBox.h"
#include "widgets/Swatch.h"

#include <cmath>

namespace {

constexpr int keyBackspace = 8;
constexpr int keyEnter = 13;

// The number in the page-number box, edited or not, taken down to a whole
// number; the page shown when the box is empty or holds no number (it can
// only be pasted there).
qint64 pageNumberIn(const TextBox *box, qint64 pageShown)
{
    bool ok = false;
    const double value = box->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return pageShown;
    constexpr double limit = 1e15;  // far beyond any card, and safe to convert
    return qint64(std::floor(qBound(-limit, value, limit)));
}

} // namespace

void Form1::next_swf_FSCommand(const QString &, const QString &)
{
    qint64 p = pageNumberIn(pagen_text, m_pageShown) + 1;
    if (p > pagenx.toLongLong())
        p = 1;
    pageMove(p);
}

void Form1::previous_swf_FSCommand(const QString &, const QString &)
{
    qint64 p = pageNumberIn(pagen_text, m_pageShown) - 1;
    if (p < 1)
        p = pagenx.toLongLong();
    pageMove(p);
}

void Form1::pagen_text_KeyPress(int &keyAscii)
{
    if (keyAscii == keyBackspace || (keyAscii >= '0' && keyAscii <= '9'))
        return;
    if (keyAscii == keyEnter) {
        qint64 p = pageNumberIn(pagen_text, m_pageShown);
        if (p < 1)
            p = 1;
        else if (p > pagenx.toLongLong())
            p = pagenx.toLongLong();
        keyAscii = 0;
        pageMove(p);
        return;
    }
    keyAscii = 0;
}

void Form1::pagecolor_Click(int index)
{
    Swatch *swatch = pagecolor(index);
    if (!swatch)
        return;
    color_a = swatch->toolTip();
    findcode_txt1->setText(color_a.left(2));
    findcode_txt2->setText(color_a.mid(3, 2));
    findcode_txt3->setText(color_a.right(2));
    pageDisp(index);
}
