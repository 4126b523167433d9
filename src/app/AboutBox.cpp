// SPDX-License-Identifier: MIT
#include "app/AboutBox.h"

#include "platform/WaylandLimits.h"
#include "widgets/CopyMenu.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {

// How long xdg-open is watched. A desktop's opener hands the folder to the
// file manager and ends at once; a bare one may run the file manager itself
// and end only when it is closed: still running by then, it is taken to
// have opened the folder.
constexpr int openerWatchMs = 10000;

// Lets go of an opener: deleted once it has ended, never killed, since
// while it runs it may be running the file manager.
void letGo(QProcess *opener)
{
    if (opener->state() == QProcess::NotRunning) {
        opener->deleteLater();
        return;
    }
    opener->setParent(nullptr);
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
}

} // namespace

AboutBox::AboutBox(const QString &databasePath, QWidget *parent)
    : QDialog(parent), m_path(QDir::toNativeSeparators(databasePath)),
      m_folder(QFileInfo(databasePath).absolutePath()), m_text(new QLabel(this)), m_outcome(new QLabel(this)),
      m_watch(new QTimer(this))
{
    setObjectName(QStringLiteral("about"));
    setWindowTitle(tr("About Tesselle 5327"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setText(tr("Tesselle 5327, version %1\n"
                       "A viewer for one printed colour card, with a collection of your own colours.\n"
                       "Free software under the MIT licence.\n\n"
                       "Your collection is kept in:\n%2")
                        .arg(QStringLiteral(TESSELLE_VERSION), m_path));
    m_outcome->setObjectName(QStringLiteral("aboutOutcome"));
    m_outcome->setTextFormat(Qt::PlainText);
    m_outcome->setWordWrap(true);
    m_outcome->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_outcome->hide();
    m_watch->setSingleShot(true);
    m_watch->setInterval(openerWatchMs);
    connect(m_watch, &QTimer::timeout, this, [this] { opened(true, QString()); });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *open = buttons->addButton(tr("&Open its folder"), QDialogButtonBox::ActionRole);
    open->setObjectName(QStringLiteral("openFolder"));
    QPushButton *copy = buttons->addButton(tr("&Copy path"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copyPath"));
    connect(open, &QPushButton::clicked, this, &AboutBox::openFolder);
    connect(copy, &QPushButton::clicked, this, &AboutBox::copyPath);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_outcome);
    // Only on Wayland: what it does not let the program do.
    if (WaylandLimits::active()) {
        auto *limits = new QLabel(WaylandLimits::paragraph(), this);
        limits->setObjectName(QStringLiteral("waylandLimits"));
        limits->setWordWrap(true);
        limits->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        layout->addWidget(limits);
    }
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

AboutBox::~AboutBox()
{
    if (m_opener) {
        m_opener->disconnect(this);
        letGo(m_opener);
    }
}

QString AboutBox::text() const
{
    return m_text->text();
}

QString AboutBox::outcome() const
{
    return m_outcome->isHidden() ? QString() : m_outcome->text();
}

void AboutBox::openFolder()
{
    // One at a time: a second press while xdg-open runs does nothing more.
    if (m_opener)
        return;
    m_outcome->hide();
    m_opener = new QProcess(this);
    m_opener->setProgram(QStringLiteral("xdg-open"));
    m_opener->setArguments({m_folder});
    m_opener->setStandardOutputFile(QProcess::nullDevice());
    m_opener->setStandardErrorFile(QProcess::nullDevice());
    connect(m_opener, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            opened(false, tr("xdg-open could not be started (is xdg-utils installed?)"));
    });
    connect(m_opener, &QProcess::finished, this, [this](int status, QProcess::ExitStatus how) {
        if (how != QProcess::NormalExit)
            opened(false, tr("xdg-open stopped"));
        else if (status != 0)
            opened(false, tr("xdg-open ended with status %1; no file manager may be installed").arg(status));
        else
            opened(true, QString());
    });
    m_watch->start();
    m_opener->start();
}

void AboutBox::opened(bool ok, const QString &why)
{
    if (!m_opener)
        return;
    m_watch->stop();
    QProcess *opener = std::exchange(m_opener, nullptr);
    opener->disconnect(this);
    letGo(opener);
    if (ok)
        return;
    m_outcome->setText(tr("The folder could not be opened: %1. Copy its path to open it another way.").arg(why));
    m_outcome->show();
}

void AboutBox::copyPath()
{
    CopyMenu::toClipboard(m_path);
    m_outcome->setText(tr("Copied %1").arg(m_path));
    m_outcome->show();
}
