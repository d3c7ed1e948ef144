// The welcome window: a short note on where to begin, shown at start-up above every other window. It takes the
// focus when shown, so that Enter or Escape closes it as its OK button does.
#pragma once

#include <QWidget>

class QCheckBox;
class QPushButton;

namespace qm::app
{

class WelcomeWindow : public QWidget
{
    Q_OBJECT

public:
    /// The text of Text1, line breaks as CR LF.
    static const char* const kText;

    explicit WelcomeWindow(QWidget* parent = nullptr);

    /// Keeps the window above all other windows of the desktop (or lets it go below them) without activating it.
    void setTopmost(bool topmost);
    /// Returns true while the window is kept above all others.
    bool isTopmost() const;

signals:
    /// The user clicked OK (or closed the window, which counts as OK).
    void okClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QCheckBox* m_showSplashScreen = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace qm::app
