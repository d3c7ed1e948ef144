// The program's own help viewer: an HTML help file shown from its contents page, with back, forward and home.
#pragma once

#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace qm::app
{

class HelpViewer : public QWidget
{
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);

    /// Shows the help file at its top (the contents page) and brings the viewer to the front; a missing file
    /// shows a message naming it instead.
    void open(const QString& path);

private:
    QTextBrowser* m_browser = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
    QToolButton* m_home = nullptr;
};

} // namespace qm::app
