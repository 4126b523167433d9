// SPDX-License-Identifier: MIT
#include "widgets/MovieControl.h"

#include "widgets/FocusCue.h"

#include "movie/MovieDocument.h"
#include "platform/ScreenColour.h"
#include "widgets/AccessibleMovie.h"
#include "widgets/CardPaint.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTimer>
#include <QtDebug>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// Look indexes, in the order of MovieDocument::lookNames().
constexpr int NormalLook = 0;
constexpr int HoverLook = 1;
constexpr int PressedLook = 2;
constexpr int LookCount = 3;
// A look drawn where one unit of the movie is one device pixel, and at
// every other scale: a variant for each.
constexpr int VariantCount = 2 * LookCount;

// The renderer's own frame rate.
constexpr int FrameInterval = 1000 / 30;

constexpr QPainter::RenderHints MovieHints =
    QPainter::Antialiasing | QPainter::SmoothPixmapTransform;

} // namespace

struct MovieControl::Private
{
    // Still: the first frame (or a movie without animation); Running: drawn
    // live on every frame; Ended: a finished animation holding its end.
    enum class Motion { Still, Running, Ended };

    explicit Private(MovieControl *control) : q(control) {}

    MovieControl *q;
    MovieDocument document;
    // pending: the file is read, the renderer not made yet; documentPending:
    // nor the document, which pendingData will make.
    bool pending = false;
    bool documentPending = false;
    QByteArray pendingData;
    bool loaded = false;
    bool animated = false;
    QRectF viewBox;
    // Time from the start of the animation to its end in ms; 0 when it has
    // no finite end.
    int cycle = 0;
    Motion motion = Motion::Still;

    // One renderer per variant: per look (only the first when the movie has
    // no looks), and per scale when the movie draws some elements only at
    // some scales. None has a frame timer of its own: a renderer follows its
    // clock, which starts at its first draw, and the control decides when to
    // draw again. started tells which clocks already run.
    std::array<std::unique_ptr<QSvgRenderer>, VariantCount> renderers;
    std::array<bool, VariantCount> started{};

    // The still movie over the background, one picture per variant, for
    // the size, pixel ratio and background below.
    std::array<QPixmap, VariantCount> pictures;
    QSize pictureSize;
    qreal pictureRatio = 0;
    QRgb pictureBackground = 0;

    // Which command element each logical pixel of the control hits (-1 for
    // none), built on the first press after a load or a resize.
    std::unique_ptr<QSvgRenderer> hitRenderer;
    std::vector<int> hitMap;
    QSize hitSize;

    int pressed = -1;          // the command element the button went down on
    bool overPressed = false;  // whether the pointer is still over it
    bool hovered = false;

    QTimer *commandTimer = nullptr;
    QTimer *frameTimer = nullptr;
    QTimer *cycleTimer = nullptr;

    static std::unique_ptr<QSvgRenderer> makeRenderer(const QByteArray &svg);
    bool ensureLoaded();

    int lookIndex() const;
    // The variant of a look drawn at a device pixel ratio.
    int variant(int look, qreal ratio) const;
    QSvgRenderer *renderer(int variantIndex);
    QSvgRenderer *freshRenderer(int variantIndex);
    void draw(int variantIndex, QSvgRenderer *svg, QPainter *painter);
    QRectF movieRect() const;

    void clear();
    void clearPictures();
    const QPixmap &picture(int look, qreal ratio, const QColor &background);

    bool shouldRun() const;
    void updateMotion();
    void start();
    void stop(Motion next);
    void endOfCycle();

    QTransform movieToControl(const QRectF &target) const;
    QSvgRenderer *elementRenderer();
    void buildHitMap();
    int hitAt(const QPointF &position);
    void lookChangedFrom(int before);
    // The card colours a movie declares, as the chosen eye sees them.
    void paintCardColours();
};

void MovieControl::Private::paintCardColours()
{
    if (!document.hasCardPaint())
        return;
    if (CardPaint::vision().deficiency == VisionSimulation::Deficiency::None)
        document.setCardPaint({});
    else
        document.setCardPaint([](const QString &fill) {
            const QColor card(fill);
            return card.isValid() ? CardPaint::seen(card).name() : fill;
        });
    for (auto &slot : renderers)
        slot.reset();
    started.fill(false);
    clearPictures();
}

std::unique_ptr<QSvgRenderer> MovieControl::Private::makeRenderer(const QByteArray &svg)
{
    auto renderer = std::make_unique<QSvgRenderer>();
    // Set before loading, or an animated renderer asks for repaints for ever.
    renderer->setFramesPerSecond(0);
    renderer->load(svg);
    return renderer;
}

int MovieControl::Private::lookIndex() const
{
    if (pressed >= 0 && overPressed)
        return PressedLook;
    return hovered ? HoverLook : NormalLook;
}

int MovieControl::Private::variant(int look, qreal ratio) const
{
    const int shown = document.hasLooks() ? look : NormalLook;
    if (!document.hasPixelVariants())
        return shown;
    // One unit of the movie on one device pixel, from a whole pixel on.
    const QRectF target = movieRect();
    const bool onePixel = ratio * target.width() == viewBox.width() && ratio * target.height() == viewBox.height()
        && target.topLeft().toPoint() == target.topLeft();
    return onePixel ? shown : shown + LookCount;
}

QSvgRenderer *MovieControl::Private::renderer(int variantIndex)
{
    std::unique_ptr<QSvgRenderer> &slot = renderers[variantIndex];
    if (!slot) {
        slot = makeRenderer(document.svg(MovieDocument::lookNames().at(variantIndex % LookCount),
                                         variantIndex < LookCount));
        started[variantIndex] = false;
    }
    return slot.get();
}

// A renderer whose clock has not started yet: it draws the first frame.
// Loading again on a used renderer is not an option (it doubles its repaint
// connections), so a used one is replaced.
QSvgRenderer *MovieControl::Private::freshRenderer(int variantIndex)
{
    if (started[variantIndex])
        renderers[variantIndex].reset();
    return renderer(variantIndex);
}

void MovieControl::Private::draw(int variantIndex, QSvgRenderer *svg, QPainter *painter)
{
    painter->setRenderHints(MovieHints);
    svg->render(painter, movieRect());
    started[variantIndex] = true;
}

// The movie scaled to the control with its proportions kept, centred.
QRectF MovieControl::Private::movieRect() const
{
    if (viewBox.isEmpty())
        return QRectF();
    const QSizeF area(q->size());
    QSizeF fitted = viewBox.size();
    fitted.scale(area, Qt::KeepAspectRatio);
    return QRectF(QPointF((area.width() - fitted.width()) / 2, (area.height() - fitted.height()) / 2),
                  fitted);
}

void MovieControl::Private::clear()
{
    commandTimer->stop();
    frameTimer->stop();
    cycleTimer->stop();
    document = MovieDocument();
    pending = false;
    documentPending = false;
    pendingData.clear();
    loaded = false;
    animated = false;
    viewBox = QRectF();
    cycle = 0;
    motion = Motion::Still;
    for (auto &slot : renderers)
        slot.reset();
    started.fill(false);
    clearPictures();
    hitRenderer.reset();
    hitMap.clear();
    hitSize = QSize();
    pressed = -1;
    overPressed = false;
}

void MovieControl::Private::clearPictures()
{
    for (QPixmap &picture : pictures)
        picture = QPixmap();
}

const QPixmap &MovieControl::Private::picture(int look, qreal ratio, const QColor &background)
{
    if (pictureSize != q->size() || pictureRatio != ratio || pictureBackground != background.rgba()) {
        clearPictures();
        pictureSize = q->size();
        pictureRatio = ratio;
        pictureBackground = background.rgba();
    }
    const int index = variant(look, ratio);
    QPixmap &picture = pictures[index];
    if (picture.isNull()) {
        // A still animated movie shows its first frame, so it is drawn by a
        // renderer whose clock has not run.
        QSvgRenderer *svg = animated && motion == Motion::Still ? freshRenderer(index)
                                                                : renderer(index);
        picture = QPixmap(std::ceil(pictureSize.width() * ratio),
                          std::ceil(pictureSize.height() * ratio));
        picture.setDevicePixelRatio(ratio);
        picture.fill(background);
        QPainter painter(&picture);
        draw(index, svg, &painter);
    }
    return picture;
}

bool MovieControl::Private::shouldRun() const
{
    return loaded && animated && (q->m_play || document.autoplay());
}

// Runs the animation while it should play and the control is visible; a
// hidden control keeps its play state but draws nothing until shown again.
void MovieControl::Private::updateMotion()
{
    if (!shouldRun()) {
        if (motion != Motion::Still)
            stop(Motion::Still);
    } else if (q->isVisible()) {
        if (motion == Motion::Still)
            start();
    } else if (motion == Motion::Running) {
        stop(Motion::Still);
    }
}

// Starts the animation from its beginning, every look on the same clock.
void MovieControl::Private::start()
{
    const int variants = document.hasLooks() ? LookCount : 1;
    for (int index = 0; index < variants; ++index)
        freshRenderer(index);
    if (variants > 1) {
        // Start the clocks together, so that changing the look does not
        // change the moment of the animation.
        QImage dot(1, 1, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&dot);
        for (int index = 0; index < variants; ++index) {
            renderers[index]->render(&painter, QRectF(0, 0, 1, 1));
            started[index] = true;
        }
    }
    motion = Motion::Running;
    clearPictures();
    frameTimer->start();
    if (!document.runsForever())
        cycleTimer->start(std::max(cycle, FrameInterval));
    q->update();
}

void MovieControl::Private::stop(Motion next)
{
    frameTimer->stop();
    cycleTimer->stop();
    motion = next;
    clearPictures();
    q->update();
}

// The last animation has finished: start again when looping, otherwise
// hold the end, which needs no more repainting.
void MovieControl::Private::endOfCycle()
{
    if (q->m_loop && cycle > 0)
        start();
    else
        stop(Motion::Ended);
}

// From the movie's own coordinates to the control's, for the movie drawn in
// target.
QTransform MovieControl::Private::movieToControl(const QRectF &target) const
{
    QTransform toControl;
    toControl.translate(target.x(), target.y());
    toControl.scale(target.width() / viewBox.width(), target.height() / viewBox.height());
    toControl.translate(-viewBox.x(), -viewBox.y());
    return toControl;
}

// The renderer that draws command elements one at a time: every element
// shown, whatever the look.
QSvgRenderer *MovieControl::Private::elementRenderer()
{
    if (!hitRenderer)
        hitRenderer = makeRenderer(document.svg());
    return hitRenderer.get();
}

// Each command element is drawn alone at its place in the control; the
// pixels it covers with at least half opacity hit it, later elements over
// earlier ones.
void MovieControl::Private::buildHitMap()
{
    hitSize = q->size();
    const int width = hitSize.width();
    const int height = hitSize.height();
    hitMap.assign(static_cast<size_t>(std::max(width, 0)) * std::max(height, 0), -1);
    const QRectF target = movieRect();
    if (!loaded || document.commands().isEmpty() || target.isEmpty())
        return;
    elementRenderer();
    const QTransform toControl = movieToControl(target);

    QImage layer(hitSize, QImage::Format_ARGB32_Premultiplied);
    const QVector<MovieDocument::Command> &commands = document.commands();
    for (int index = 0; index < commands.size(); ++index) {
        const QString &id = commands.at(index).id;
        if (!hitRenderer->elementExists(id))
            continue;
        const QRectF bounds = hitRenderer->boundsOnElement(id);
        if (bounds.isEmpty())
            continue;
        layer.fill(Qt::transparent);
        QPainter painter(&layer);
        painter.setRenderHints(MovieHints);
        // The element's bounds carry its own transform; its parents' come
        // from transformForElement.
        painter.setTransform(hitRenderer->transformForElement(id) * toControl);
        hitRenderer->render(&painter, id, bounds);
        painter.end();
        for (int y = 0; y < height; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
            int *hits = hitMap.data() + static_cast<size_t>(y) * width;
            for (int x = 0; x < width; ++x) {
                if (qAlpha(line[x]) >= 128)
                    hits[x] = index;
            }
        }
    }
}

int MovieControl::Private::hitAt(const QPointF &position)
{
    if (!ensureLoaded())
        return -1;
    if (hitSize != q->size())
        buildHitMap();
    const int x = static_cast<int>(std::floor(position.x()));
    const int y = static_cast<int>(std::floor(position.y()));
    if (x < 0 || y < 0 || x >= hitSize.width() || y >= hitSize.height())
        return -1;
    return hitMap[static_cast<size_t>(y) * hitSize.width() + x];
}

void MovieControl::Private::lookChangedFrom(int before)
{
    if (lookIndex() != before && (pending || document.hasLooks()))
        q->update();
}

MovieControl::MovieControl(QWidget *parent)
    : QWidget(parent), d(std::make_unique<Private>(this))
{
    AccessibleMovie::installFactory();
    // Every pixel is painted: the movie, and the window colour around it.
    setAttribute(Qt::WA_OpaquePaintEvent);

    d->commandTimer = new QTimer(this);
    d->commandTimer->setSingleShot(true);
    d->commandTimer->setTimerType(Qt::PreciseTimer);
    connect(d->commandTimer, &QTimer::timeout, this, [this] {
        emit FSCommand(d->document.timerCommand(), d->document.timerArgument());
    });

    d->frameTimer = new QTimer(this);
    d->frameTimer->setInterval(FrameInterval);
    connect(d->frameTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));

    d->cycleTimer = new QTimer(this);
    d->cycleTimer->setSingleShot(true);
    d->cycleTimer->setTimerType(Qt::PreciseTimer);
    connect(d->cycleTimer, &QTimer::timeout, this, [this] { d->endOfCycle(); });

    connect(CardPaint::instance(), &CardPaint::visionChanged, this, [this] {
        if (!d->loaded || !d->document.hasCardPaint())
            return;
        d->paintCardColours();
        update();
    });
}

MovieControl::~MovieControl() = default;

bool MovieControl::useFallback()
{
    if (m_fallback.isEmpty() || m_path == m_fallback)
        return false;
    qWarning("Movie %s cannot be used: playing the program's own copy instead", qPrintable(m_path));
    setMovie(m_fallback);
    return true;
}

void MovieControl::setMovie(const QString &path)
{
    m_path = path;
    d->clear();
    update();
    if (path.isEmpty())
        return;

    QByteArray data;
    if (!MovieDocument::readFile(path, &data)) {
        useFallback();
        return;
    }
    d->pending = true;
    // A movie that neither moves nor acts by itself shows and does nothing
    // before it is first painted or pressed: it is read and its renderer
    // made then. One that may is made ready at once.
    if (!MovieDocument::mayActByItself(data)) {
        d->documentPending = true;
        d->pendingData = data;
        return;
    }
    d->document = MovieDocument::fromFileData(path, data);
    if (!d->document.isValid()) {
        d->clear();
        useFallback();
        return;
    }
    if (d->document.hasAnimation() || d->document.timerAfter() >= 0)
        d->ensureLoaded();
}

bool MovieControl::Private::ensureLoaded()
{
    if (!pending)
        return loaded;
    if (documentPending) {
        documentPending = false;
        document = MovieDocument::fromFileData(q->movie(), std::exchange(pendingData, QByteArray()));
        if (!document.isValid()) {
            clear();
            return q->useFallback() && ensureLoaded();
        }
    }
    pending = false;
    if (CardPaint::vision().deficiency != VisionSimulation::Deficiency::None)
        paintCardColours();
    QSvgRenderer *first = renderer(NormalLook);
    if (!first->isValid()) {
        qWarning("Movie %s is not an SVG document the renderer can draw", qPrintable(q->movie()));
        clear();
        return q->useFallback() && ensureLoaded();
    }
    for (const MovieDocument::Command &command : document.commands()) {
        if (!first->elementExists(command.id))
            qWarning("Movie %s: no element \"%s\" to click", qPrintable(q->movie()),
                     qPrintable(command.id));
    }

    loaded = true;
    viewBox = first->viewBoxF();
    animated = first->animated();
    if (animated && !document.runsForever())
        cycle = std::max(document.animationEnd(), first->animationDuration());
    if (document.timerAfter() >= 0)
        commandTimer->start(document.timerAfter());
    updateMotion();
    return true;
}

bool MovieControl::isLoaded() const
{
    return d->ensureLoaded();
}

void MovieControl::setPlay(bool play)
{
    m_play = play;
    d->updateMotion();
}

void MovieControl::setLoop(bool loop)
{
    // Read when the current cycle ends.
    m_loop = loop;
}

QString MovieControl::look() const
{
    return MovieDocument::lookNames().at(d->lookIndex());
}

QVector<MovieDocument::Command> MovieControl::commandElements() const
{
    return d->ensureLoaded() ? d->document.commands() : QVector<MovieDocument::Command>();
}

QRectF MovieControl::commandElementRect(int index) const
{
    if (!d->ensureLoaded() || index < 0 || index >= d->document.commands().size())
        return QRectF();
    const QRectF target = d->movieRect();
    if (target.isEmpty())
        return QRectF();
    QSvgRenderer *svg = d->elementRenderer();
    const QString &id = d->document.commands().at(index).id;
    if (!svg->elementExists(id))
        return QRectF();
    // The element's bounds carry its own transform; its parents' come from
    // transformForElement.
    return (svg->transformForElement(id) * d->movieToControl(target)).mapRect(svg->boundsOnElement(id));
}

int MovieControl::commandElementAt(const QPointF &position) const
{
    return d->hitAt(position);
}

void MovieControl::raiseCommand(int index)
{
    if (!d->ensureLoaded() || index < 0 || index >= d->document.commands().size())
        return;
    // A copy: a receiver may load another movie.
    const MovieDocument::Command command = d->document.commands().at(index);
    emit FSCommand(command.command, command.argument);
}

// For a display profile, a running movie is drawn as without one, straight
// into the window's backing store, and converted there: a frame of the
// control's size drawn aside costs as much memory again as the window's
// other widgets at start. False, and nothing drawn, where the backing store
// is not an image of whole pixels that can be converted.
bool MovieControl::paintConvertedInPlace(QPainter *painter, QPaintEvent *event, int index,
                                         const QColor &background)
{
    QPoint offset;
    QPaintDevice *device = redirected(&offset);
    if (!device || device->devType() != QInternal::Image || sharedPainter())
        return false;
    auto *store = static_cast<QImage *>(device);
    const qreal ratio = store->devicePixelRatio();
    if (ratio != std::floor(ratio) || !ScreenColour::convertsInPlace(*store))
        return false;
    painter->fillRect(event->rect(), background);
    d->draw(index, d->renderer(index), painter);
    painter->end();
    // The painter drew at the control's place in the store, offset away.
    const int scale = int(ratio);
    for (const QRect &area : event->region()) {
        const QRect onStore = area.translated(-offset);
        ScreenColour::convertInPlace(store, QRect(onStore.topLeft() * scale, onStore.size() * scale));
    }
    return true;
}

void MovieControl::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Window);
    if (!d->ensureLoaded() || d->movieRect().isEmpty()) {
        painter.fillRect(event->rect(), ScreenColour::of(background));
        return;
    }
    const int look = d->lookIndex();
    if (d->motion == Private::Motion::Running) {
        const int index = d->variant(look, devicePixelRatio());
        if (ScreenColour::active()) {
            if (paintConvertedInPlace(&painter, event, index, background))
                return;
            // Where it cannot be converted in place, a frame for a display
            // profile is drawn aside and converted.
            QImage frame(size() * devicePixelRatio(), QImage::Format_RGB32);
            frame.setDevicePixelRatio(devicePixelRatio());
            frame.fill(background);
            QPainter framePainter(&frame);
            // The widget's own font, as its painter would have: without it
            // a text of the movie is shaped by HarfBuzz, whose tables cost
            // start-up half a megabyte.
            framePainter.setFont(font());
            d->draw(index, d->renderer(index), &framePainter);
            framePainter.end();
            painter.drawImage(0, 0, ScreenColour::of(std::move(frame)));
            return;
        }
        painter.fillRect(event->rect(), background);
        d->draw(index, d->renderer(index), &painter);
        return;
    }
    painter.drawPixmap(0, 0, ScreenColour::of(d->picture(look, devicePixelRatio(), background)));
    if (m_keyboardFocus && hasFocus()) {
        const int element = m_keyboardElements.isEmpty()
            ? -1
            : commandIndex(m_keyboardElements.at(m_highlighted));
        FocusCue::draw(painter, element >= 0 ? elementRect(element) : rect());
    }
}

void MovieControl::setKeyboardElements(const QStringList &ids)
{
    m_keyboardElements = ids;
    m_highlighted = 0;
    update();
}

QString MovieControl::highlighted() const
{
    return m_keyboardElements.isEmpty() ? QString() : m_keyboardElements.at(m_highlighted);
}

int MovieControl::highlightedElement() const
{
    return m_keyboardElements.isEmpty() ? -1 : commandIndex(highlighted());
}

void MovieControl::presentHighlight()
{
    if (!hasFocus() || !QAccessible::isActive())
        return;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(this);
    const int element = highlightedElement();
    QAccessibleInterface *child = iface && element >= 0 ? iface->child(element) : nullptr;
    if (!child)
        return;
    QAccessibleEvent event(child, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

int MovieControl::commandIndex(const QString &id) const
{
    const QVector<MovieDocument::Command> &commands = d->document.commands();
    for (int i = 0; i < commands.size(); ++i) {
        if (commands.at(i).id == id)
            return i;
    }
    return -1;
}

QRect MovieControl::elementRect(int index) const
{
    if (d->hitSize != size())
        d->buildHitMap();
    QRect bounds;
    const int width = d->hitSize.width();
    for (int y = 0; y < d->hitSize.height(); ++y) {
        const int *line = d->hitMap.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            if (line[x] == index)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds.isEmpty() ? rect() : bounds;
}

void MovieControl::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool arrows = !m_keyboardElements.isEmpty()
        && (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down);
    if (arrows && event->modifiers() == Qt::NoModifier) {
        const int step = key == Qt::Key_Right || key == Qt::Key_Down ? 1 : -1;
        const int count = int(m_keyboardElements.size());
        m_highlighted = (m_highlighted + step + count) % count;
        update();
        presentHighlight();
        return;
    }
    const bool activate = (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (activate && !event->isAutoRepeat() && d->ensureLoaded() && !d->document.commands().isEmpty()) {
        const int element = m_keyboardElements.isEmpty() ? 0 : commandIndex(highlighted());
        if (element >= 0) {
            // The same signal a click raises, so the same handler acts.
            raiseCommand(element);
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void MovieControl::focusInEvent(QFocusEvent *event)
{
    m_keyboardFocus = FocusCue::fromKeyboard(event);
    if (m_keyboardFocus)
        update();
    QWidget::focusInEvent(event);
    presentHighlight();
}

void MovieControl::focusOutEvent(QFocusEvent *event)
{
    if (std::exchange(m_keyboardFocus, false))
        update();
    QWidget::focusOutEvent(event);
}

void MovieControl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int before = d->lookIndex();
    d->pressed = d->hitAt(event->position());
    d->overPressed = d->pressed >= 0;
    d->lookChangedFrom(before);
    event->accept();
}

void MovieControl::mouseMoveEvent(QMouseEvent *event)
{
    if (d->pressed < 0) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const int before = d->lookIndex();
    d->overPressed = d->hitAt(event->position()) == d->pressed;
    d->lookChangedFrom(before);
    event->accept();
}

void MovieControl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int element = d->pressed;
    const bool raise = element >= 0 && d->hitAt(event->position()) == element;
    const int before = d->lookIndex();
    d->pressed = -1;
    d->overPressed = false;
    d->lookChangedFrom(before);
    event->accept();
    if (raise)
        raiseCommand(element);
}

void MovieControl::enterEvent(QEnterEvent *event)
{
    const int before = d->lookIndex();
    d->hovered = true;
    d->lookChangedFrom(before);
    QWidget::enterEvent(event);
}

void MovieControl::leaveEvent(QEvent *event)
{
    const int before = d->lookIndex();
    d->hovered = false;
    d->lookChangedFrom(before);
    QWidget::leaveEvent(event);
}

void MovieControl::resizeEvent(QResizeEvent *event)
{
    // The pictures follow the size by themselves; the hit map is rebuilt on
    // the next press.
    d->hitMap.clear();
    d->hitSize = QSize();
    QWidget::resizeEvent(event);
}

void MovieControl::showEvent(QShowEvent *event)
{
    d->updateMotion();
    QWidget::showEvent(event);
}

void MovieControl::hideEvent(QHideEvent *event)
{
    d->updateMotion();
    QWidget::hideEvent(event);
}
