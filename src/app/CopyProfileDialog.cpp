// Copy This Profile to.
#include "app/CopyProfileDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::app
{

CopyProfileDialog::CopyProfileDialog(int shown, QWidget* parent) : QDialog(parent)
{
    setObjectName("CopyProfile");
    setWindowTitle("Copy This Profile");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString("Copy profile %1 to the profiles ticked:").arg(shown)));
    auto* grid = new QGridLayout;
    for (int profile = 1; profile <= 10; ++profile) {
        auto* box = new QCheckBox(QString::number(profile));
        box->setObjectName(QString("CopyTo%1").arg(profile));
        // The profile on show is the one copied.
        box->setEnabled(profile != shown);
        grid->addWidget(box, (profile - 1) / 5, (profile - 1) % 5);
        m_boxes[static_cast<std::size_t>(profile - 1)] = box;
    }
    layout->addLayout(grid);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName("CopyProfileOk");
    ok->setText("&Copy");
    ok->setEnabled(false);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("CopyProfileCancel");
    for (QCheckBox* box : m_boxes)
        connect(box, &QCheckBox::toggled, ok, [this, ok] { ok->setEnabled(!ticked().empty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::vector<int> CopyProfileDialog::ticked() const
{
    std::vector<int> profiles;
    for (int profile = 1; profile <= 10; ++profile)
        if (m_boxes[static_cast<std::size_t>(profile - 1)]->isChecked())
            profiles.push_back(profile);
    return profiles;
}

} // namespace qm::app
