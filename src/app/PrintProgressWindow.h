// The print progress window: "Printing Profile Information" with the bar PrintProgress counting the ten
// profiles while a report is produced.
#pragma once

#include <QWidget>

class QProgressBar;

namespace qm::app
{

class PrintProgressWindow : public QWidget
{
    Q_OBJECT

public:
    explicit PrintProgressWindow(QWidget* parent = nullptr);

    /// The bar PrintProgress, 0 to 10.
    QProgressBar* bar() const { return m_bar; }

private:
    QProgressBar* m_bar = nullptr;
};

} // namespace qm::app
