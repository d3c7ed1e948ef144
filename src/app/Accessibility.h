// What assistive technology reads from the program's windows beyond what the toolkit gives on its own: pick lists
// named by what they are (not by the entry they show), tabs that report the focus only while they have it, and
// panels whose changes are announced.
#pragma once

#include <QLabel>

namespace qm::app
{

/// A panel whose changes assistive technology is told of wherever the focus is: it is read as a notification, and
/// each new text is announced (the status panel's "Connected").
class AnnouncedLabel : public QLabel
{
    Q_OBJECT

public:
    // Built without a text: the toolkit may describe a label to assistive technology as soon as its text is set,
    // and it must already be this kind of label then.
    explicit AnnouncedLabel(QWidget* parent = nullptr);

    /// Sets the text and announces it when it differs from the text shown.
    void setAnnouncedText(const QString& text);
};

/// Installs the program's accessible interfaces for pick lists and tab strips; once per process, before the first
/// window is built.
void installAccessibility();

} // namespace qm::app
