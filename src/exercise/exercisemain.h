#pragma once

#include "shell/toolwindow.h"

class QGroupBox;
class QPushButton;

namespace kvadra
{

// exercise_main: the fourteen schematic pictures, for exercises and tests alike. Whoever opens
// it captions its frame; a click hands the choice to the active flow and the window stays open.
class ExerciseMain : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr const char *Name = "exercise_main";

    explicit ExerciseMain(TwoportMain &main);

    void setCaption(const QString &caption);

    void unload() override;

private:
    void selectSchematic(const qint16 &schematicNumber, const QString &schematicName);

    QGroupBox *m_frame;
    QPushButton *m_own;
};

} // namespace kvadra
