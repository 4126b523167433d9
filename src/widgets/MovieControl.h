// SPDX-License-Identifier: MIT
#pragma once

#include "movie/MovieDocument.h"

#include <QHash>
#include <QWidget>

#include <memory>

class QPainter;
class QSvgRenderer;
class QTimer;

// A vector movie player: loads an SVG movie, paints it scaled to the control
// with its proportions kept and centred, animates it when playing, and raises
// the commands that the movie declares for its elements and for its timer.
//
// Commands live in the movie file, in the namespace "urn:x-tesselle:movie"
// (prefix "mv" by convention):
//   - an element with an id and mv:command="text" (optionally mv:argument)
//     raises FSCommand(text, argument) when the pointer is pressed and
//     released inside that element's painted shape; mv:command="" raises
//     the empty command;
//   - the root's mv:timer-after="ms" with mv:timer-command (and optionally
//     mv:timer-argument) raises that command once, that many milliseconds
//     after the movie is loaded, whether or not the movie plays: it is the
//     movie's own script, not its animation;
//   - the root's mv:autoplay="true" starts the animation as soon as the
//     movie is loaded, like a movie whose first frame starts playback;
//   - an element with mv:look="normal", "hover" or "pressed" (a list may name
//     several) is drawn only in those looks: hover while the pointer is over
//     the control, pressed while a button is held on a command element.
// The movie may reference nothing outside itself: external images and
// references are dropped when it is read.
class MovieControl : public QWidget
{
    Q_OBJECT

public:
    explicit MovieControl(QWidget *parent = nullptr);
    ~MovieControl() override;

    // The movie file. Setting it reads the file at once; a missing or
    // unreadable file leaves the control empty and silent. A movie that may
    // animate or raise a timed command is made ready at once; any other is
    // made ready (and a faulty one reported) when the control is first
    // painted, pressed or asked whether it is loaded.
    void setMovie(const QString &path);
    QString movie() const { return m_path; }
    bool isLoaded() const;

    // The command elements (by id) that the arrow keys move a highlight
    // among while the control has the keyboard, Enter or Space raising the
    // highlighted one's command. Without them, Enter and Space raise the
    // movie's first command, as a click on a button does.
    void setKeyboardElements(const QStringList &ids);
    // The element the keyboard highlights; empty when none.
    QString highlighted() const;
    // The highlighted element's index among commandElements(); -1: none.
    int highlightedElement() const;

    // The movie played instead when the one set cannot be read or drawn
    // (a copy built into the program); none by default.
    void setFallbackMovie(const QString &path) { m_fallback = path; }

    // Whether the movie starts playing as soon as it is loaded.
    void setPlay(bool play);
    bool play() const { return m_play; }

    // Whether the animation starts again after its last frame.
    void setLoop(bool loop);

    // The look in force, for tests and for painting: "normal", "hover" or
    // "pressed".
    QString look() const;

    // The command elements, for assistive technology: each one as the movie
    // declares it (the movie is made ready first), its bounds in the
    // control, the one a point of the control hits (-1: none), and raising
    // its command exactly as a click on it does.
    QVector<MovieDocument::Command> commandElements() const;
    QRectF commandElementRect(int index) const;
    int commandElementAt(const QPointF &position) const;
    void raiseCommand(int index);

    // Words the window adds to what a command element says of itself, by
    // the element's command ("3": "page 70").
    void setCommandNote(const QString &command, const QString &note) { m_notes.insert(command, note); }
    QString commandNote(const QString &command) const { return m_notes.value(command); }

signals:
    // A command raised by the movie: the command text and its argument.
    void FSCommand(const QString &command, const QString &args);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
    // Plays the fallback movie in place of the one set, with a warning;
    // false when there is none to play.
    bool useFallback();
    // Tells a screen reader the highlighted element has the keyboard.
    void presentHighlight();
    // A running frame for a display profile, converted in the backing store.
    bool paintConvertedInPlace(QPainter *painter, QPaintEvent *event, int index, const QColor &background);

    QString m_path;
    QString m_fallback;
    QStringList m_keyboardElements;
    int m_highlighted = 0;
    bool m_keyboardFocus = false;  // the focus came by keyboard: show the cue
    // The command element index of id, or -1.
    int commandIndex(const QString &id) const;
    // Where an element lies in the control, from the hit map.
    QRect elementRect(int index) const;
    bool m_play = true;
    bool m_loop = true;
    QHash<QString, QString> m_notes;
};
