// The welcome window: a short note on where to begin, shown at start-up above every other window.
#include "app/WelcomeWindow.h"

#include "app/Screen.h"

#include "app/Logo.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace qm::app
{

const char* const WelcomeWindow::kText = "To begin configuring your Quellmark, select the mode \r\n"
                                         "that you want to use from the \"Mode\" menu at the \r\n"
                                         "top of the screen.\r\n";

WelcomeWindow::WelcomeWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("Form6");
    setWindowTitle("Quellmark Configuration Program");

    auto* logo = new QLabel;
    logo->setObjectName("imgLogo");
    logo->setPixmap(quellmarkLogo(96, devicePixelRatio()));
    logo->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* product = new QLabel("Quellmark Configuration Program v2.0");
    product->setObjectName("lblCompanyProduct");
    QFont productFont = product->font();
    productFont.setBold(true);
    productFont.setPointSizeF(productFont.pointSizeF() * 1.4);
    product->setFont(productFont);

    auto* text = new QLabel(QString::fromLatin1(kText).replace("\r\n", "\n"));
    text->setObjectName("Text1");
    QFont times("Times New Roman");
    // Where Times New Roman is not installed, its metric twins and then any serif face stand in.
    times.setFamilies({"Times New Roman", "Liberation Serif", "Tinos", "DejaVu Serif", "serif"});
    times.setStyleHint(QFont::Serif);
    times.setPointSizeF(text->font().pointSizeF() * 1.25);
    text->setFont(times);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_showSplashScreen = new QCheckBox("Show this screen at startup ");
    m_showSplashScreen->setObjectName("ShowSplashScreen");
    m_showSplashScreen->setChecked(true);

    m_ok = new QPushButton("&Ok");
    m_ok->setObjectName("Command1");
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &WelcomeWindow::okClicked);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setHorizontalSpacing(18);
    layout->setVerticalSpacing(10);
    layout->addWidget(logo, 0, 0, 2, 1);
    layout->addWidget(product, 0, 1);
    layout->addWidget(text, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showSplashScreen);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons, 2, 0, 1, 2);

    setFixedSize(sizeHint());
    centreOnScreen(*this);
}

void WelcomeWindow::setTopmost(bool topmost)
{
    if (isTopmost() == topmost)
        return;
    const Qt::WindowFlags flags =
        topmost ? windowFlags() | Qt::WindowStaysOnTopHint : windowFlags() & ~Qt::WindowStaysOnTopHint;
    // setWindowFlags() would hide the window and show it again; telling the native window directly keeps it in
    // place, shown and not activated.
    overrideWindowFlags(flags);
    if (QWindow* window = windowHandle())
        window->setFlags(flags);
}

bool WelcomeWindow::isTopmost() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void WelcomeWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    emit okClicked();
}

void WelcomeWindow::keyPressEvent(QKeyEvent* event)
{
    // The window is no dialog, so its default button does not take Enter by itself; Escape closes it as the
    // window's close button does.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            emit okClicked();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void WelcomeWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_ok->setFocus(Qt::ActiveWindowFocusReason);
    activateWindow();
}

} // namespace qm::app
