// The mode area's hint: a framed text and three buttons in the middle of the empty mode area.
#include "app/ModeAreaHint.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::app
{

namespace
{

/// The widest the hint grows, so its text stays in two lines on a wide screen.
constexpr int kWidestHint = 520;
/// Room kept free around the hint in a small mode area.
constexpr int kMargin = 12;

QPushButton* hintButton(const char* name)
{
    auto* button = new QPushButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

ModeAreaHint::ModeAreaHint(QMdiArea* area, QMenu* modeMenu) : QFrame(area->viewport())
{
    setObjectName("ModeAreaHint");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(10);
    auto* text = new QLabel;
    text->setObjectName("ModeAreaHintText");
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* chooseMode = hintButton("ChooseModeButton");
    // The menu opens below the button and the event loop goes on, as when it is opened from the menu bar.
    connect(chooseMode, &QPushButton::clicked, this, [chooseMode, modeMenu] {
        if (modeMenu)
            modeMenu->popup(chooseMode->mapToGlobal(QPoint(0, chooseMode->height())));
    });
    buttons->addWidget(chooseMode);
    buttons->addWidget(hintButton("ReadUnitButton"));
    buttons->addWidget(hintButton("OpenFileButton"));
    buttons->addStretch(1);
    layout->addLayout(buttons);
    area->viewport()->installEventFilter(this);
}

bool ModeAreaHint::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == parentWidget())
        centre();
    return QFrame::eventFilter(watched, event);
}

void ModeAreaHint::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    centre();
}

void ModeAreaHint::centre()
{
    const QWidget* area = parentWidget();
    const int width = std::min(kWidestHint, std::max(area->width() - 2 * kMargin, minimumSizeHint().width()));
    resize(width, heightForWidth(width) > 0 ? heightForWidth(width) : sizeHint().height());
    move(std::max(0, (area->width() - this->width()) / 2), std::max(0, (area->height() - height()) / 2));
}

} // namespace qm::app
