// Copy This Profile to: the ten profiles to tick, the one on show among them but not to be ticked.
#pragma once

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;

namespace qm::app
{

class CopyProfileDialog : public QDialog
{
    Q_OBJECT

public:
    /// shown: the profile on show (1 to 10).
    CopyProfileDialog(int shown, QWidget* parent);

    /// The profiles ticked, in rising order.
    std::vector<int> ticked() const;

private:
    std::array<QCheckBox*, 10> m_boxes{};
};

} // namespace qm::app
