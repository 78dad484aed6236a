#include "console/seo_editor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TSEOEditor::TSEOEditor(QWidget* parent) : QGroupBox(tr("Siemens Exchange Object"), parent)
{
    setObjectName("SEOGB");
    auto* fileName = new QLineEdit(this);
    fileName->setObjectName("SEOFileName");
    fileName->setReadOnly(true);
    auto* loadButton = new QPushButton(tr("Load..."), this);
    loadButton->setObjectName("Button7");
    loadButton->setEnabled(false);
    auto* name = new QLineEdit(this);
    name->setObjectName("SEOName");
    auto* picture = new QLabel(this);
    picture->setObjectName("SEOPicture");
    picture->setFrameShape(QFrame::StyledPanel);
    picture->setMinimumSize(96, 64);

    auto* player = new QWidget(this);
    player->setObjectName("SEOMidi");
    auto* playerLayout = new QHBoxLayout(player);
    playerLayout->setContentsMargins(0, 0, 0, 0);
    for (const char* caption : {"Play", "Pause", "Stop"}) {
        auto* button = new QPushButton(tr(caption), player);
        button->setEnabled(false);
        playerLayout->addWidget(button);
    }
    playerLayout->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("File"), this), 0, 0);
    layout->addWidget(fileName, 0, 1);
    layout->addWidget(loadButton, 0, 2);
    layout->addWidget(new QLabel(tr("Name"), this), 1, 0);
    layout->addWidget(name, 1, 1, 1, 2);
    layout->addWidget(picture, 2, 1, 1, 2);
    layout->addWidget(player, 3, 1, 1, 2);
    layout->setRowStretch(4, 1);
}
