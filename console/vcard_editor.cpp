#include "console/vcard_editor.h"

#include <QFormLayout>
#include <QLineEdit>

TVCardEditor::TVCardEditor(QWidget* parent) : QGroupBox(tr("vCard"), parent)
{
    setObjectName("vCardGB");
    auto* name = new QLineEdit(this);
    name->setObjectName("vCardName");
    auto* phone = new QLineEdit(this);
    phone->setObjectName("vCardPhone");
    auto* layout = new QFormLayout(this);
    layout->addRow(tr("Name"), name);
    layout->addRow(tr("Phone number"), phone);
}
