// SPDX-License-Identifier: MIT
#include "app/AboutBox.h"

#include "platform/WaylandLimits.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

AboutBox::AboutBox(const QString &databasePath, QWidget *parent)
    : QDialog(parent), m_folder(QFileInfo(databasePath).absolutePath()), m_text(new QLabel(this))
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
                        .arg(QStringLiteral(TESSELLE_VERSION), QDir::toNativeSeparators(databasePath)));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *open = buttons->addButton(tr("&Open its folder"), QDialogButtonBox::ActionRole);
    open->setObjectName(QStringLiteral("openFolder"));
    connect(open, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(m_folder)); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
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

QString AboutBox::text() const
{
    return m_text->text();
}
