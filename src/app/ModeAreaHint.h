// The mode area's hint: while no mode window is shown, the empty frame says what to do next and offers a button for
// each way (the texts, the visibility and the Read button's state are the models').
#pragma once

#include <QFrame>

class QMdiArea;
class QMenu;

namespace qm::app
{

class ModeAreaHint : public QFrame
{
    Q_OBJECT

public:
    /// Puts the hint in the middle of the mode area, kept there as the area changes size; the Choose a Mode button
    /// opens modeMenu below itself.
    ModeAreaHint(QMdiArea* area, QMenu* modeMenu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void centre();
};

} // namespace qm::app
