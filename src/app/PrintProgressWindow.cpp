// The print progress window.
#include "app/PrintProgressWindow.h"

#include "app/Screen.h"

#include <QProgressBar>
#include <QVBoxLayout>

namespace qm::app
{

PrintProgressWindow::PrintProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName("Form8");
    setWindowTitle("Printing Profile Information");
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName("PrintProgress");
    m_bar->setRange(0, 10);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    layout->addWidget(m_bar);
    resize(320, 60);
    centreOnScreen(*this);
}

} // namespace qm::app
