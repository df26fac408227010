#pragma once

#include "shell/form.h"

#include <QWidget>

class QLabel;

namespace kvadra
{

// frmAbout: name, version and purpose of the program. Not a tool window: it takes no part in the
// unit lock.
class AboutWindow : public QWidget, public Form
{
    Q_OBJECT
public:
    static constexpr const char *Name = "frmAbout";

    explicit AboutWindow(QWidget *parent = nullptr);

    void load() override;

private:
    QLabel *m_version;
};

} // namespace kvadra
