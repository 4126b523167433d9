// SPDX-License-Identifier: MIT
#include "app/Form1.h"

#include "card/CardPanel.h"
#include "collection/CollectionPanel.h"
#include "movie/CommandText.h"
#include "widgets/MovieControl.h"

#include <functional>

void Form1::connectMovieCommands()
{
    // Each movie control's commands go to one handler, and to no other. The
    // six buttons act once per command, whatever it says; the intro and the
    // palette read the command text.
    using Handler = std::function<void(const QString &, const QString &)>;
    const struct
    {
        const char *control;
        Handler handler;
    } routes[] = {
        {"intro_swf", [this](const QString &c, const QString &a) { intro_swf_FSCommand(c, a); }},
        {"palettac", [this](const QString &c, const QString &a) { palettac_FSCommand(c, a); }},
        {"next_swf", [this](const QString &c, const QString &a) { m_card->next_swf_FSCommand(c, a); }},
        {"previous_swf", [this](const QString &c, const QString &a) { m_card->previous_swf_FSCommand(c, a); }},
        {"nextb_swf", [this](const QString &c, const QString &a) { m_collection->nextb_swf_FSCommand(c, a); }},
        {"previousb_swf", [this](const QString &c, const QString &a) { m_collection->previousb_swf_FSCommand(c, a); }},
        {"addtobaby_swf", [this](const QString &, const QString &) { addSelectedColour(); }},
        {"deleteb_swf", [this](const QString &, const QString &) { m_collection->babyDelete(); }},
    };
    for (const auto &route : routes) {
        auto *movie = qobject_cast<MovieControl *>(control(QLatin1String(route.control)));
        connect(movie, &MovieControl::FSCommand, this, route.handler);
    }
}

void Form1::intro_swf_FSCommand(const QString &command, const QString &)
{
    // The intro dismisses itself with the command 1; once hidden it stays so.
    if (CommandText::equalsNumber(command, 1))
        qobject_cast<QWidget *>(control(QStringLiteral("intro_swf")))->hide();
}
