// SPDX-License-Identifier: MIT
#pragma once

#include "app/Form1.h"

#include <QVariant>

class MovieControl;
class PictureBox;
class QLabel;
class Swatch;
class TextBox;

// The real window, with its controls reached by name through control() and
// its state through the panels' public interfaces, under the names the
// window's contract gives them.
class TestWindow : public Form1
{
    Q_OBJECT

public:
    using Form1::Form1;

    MovieControl *intro_swf() const { return movie("intro_swf"); }
    MovieControl *palettac() const { return movie("palettac"); }
    MovieControl *next_swf() const { return movie("next_swf"); }
    MovieControl *previous_swf() const { return movie("previous_swf"); }
    MovieControl *nextb_swf() const { return movie("nextb_swf"); }
    MovieControl *previousb_swf() const { return movie("previousb_swf"); }
    MovieControl *addtobaby_swf() const { return movie("addtobaby_swf"); }
    MovieControl *deleteb_swf() const { return movie("deleteb_swf"); }

    PictureBox *tart_pb(int index) const;
    Swatch *pagecolor(int index) const;
    PictureBox *baby_color() const { return picture("baby_color"); }
    PictureBox *pageselect() const { return picture("pageselect"); }
    PictureBox *pagecs() const { return picture("pagecs"); }

    TextBox *pagen_text() const { return text("pagen_text"); }
    TextBox *findcode_txt1() const { return text("findcode_txt1"); }
    TextBox *findcode_txt2() const { return text("findcode_txt2"); }
    TextBox *findcode_txt3() const { return text("findcode_txt3"); }
    TextBox *baby_code() const { return text("baby_code"); }
    TextBox *baby_num() const { return text("baby_num"); }

    QLabel *baby_nummax() const { return label("baby_nummax"); }
    QLabel *codedot_lb(int index) const;
    QLabel *e_label(int index) const;
    QLabel *lab_dlt(int index) const;

    // State kept by the panels.
    QString color_a() const;
    qint16 icode_char() const;
    QVariant pagenx() const;
    QVariant baby_max() const;
    QString ccc() const;

    // Handlers, called as the window's events call them.
    void pageMove(qint64 page);
    void pageDisp(int index);
    void pagecolor_Click(int index);
    void babyColorizer(int position);

private:
    MovieControl *movie(const char *name) const;
    PictureBox *picture(const char *name) const;
    TextBox *text(const char *name) const;
    QLabel *label(const QString &name) const;
};
