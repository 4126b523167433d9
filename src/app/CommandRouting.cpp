#include "app/Form1.h"

#include "movie/CommandText.h"
#include "widgets/MovieControl.h"

namespace {

// Each movie control's commands go to one handler of the window, and to no
// other. The handlers of the six buttons act once per command, whatever it
// says; the intro and the palette read the command text.
struct Route
{
    MovieControl *Form1::*control;
    void (Form1::*handler)(const QString &, const QString &);
};
const Route routes[] = {
    {&Form1::intro_swf, &Form1::intro_swf_FSCommand},
    {&Form1::palettac, &Form1::palettac_FSCommand},
    {&Form1::next_swf, &Form1::next_swf_FSCommand},
    {&Form1::previous_swf, &Form1::previous_swf_FSCommand},
    {&Form1::nextb_swf, &Form1::nextb_swf_FSCommand},
    {&Form1::previousb_swf, &Form1::previousb_swf_FSCommand},
    {&Form1::addtobaby_swf, &Form1::addtobaby_swf_FSCommand},
    {&Form1::deleteb_swf, &Form1::deleteb_swf_FSCommand},
};

} // namespace

void Form1::connectMovieCommands()
{
    for (const Route &route : routes)
        connect(this->*route.control, &MovieControl::FSCommand, this, route.handler);
}

void Form1::intro_swf_FSCommand(const QString &command, const QString &)
{
    // The intro dismisses itself with the command 1; once hidden it stays so.
    if (CommandText::equalsNumber(command, 1))
        intro_swf->hide();
}

void Form1::addtobaby_swf_FSCommand(const QString &, const QString &)
{
    addtoBaby();
}

void Form1::deleteb_swf_FSCommand(const QString &, const QString &)
{
    babyDelete();
}
