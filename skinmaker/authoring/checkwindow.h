#pragma once

#include "skinmaker/core/location.h"

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace skinmaker::core {
struct SkinCheck;
}

namespace skinmaker::authoring {

// 检查皮肤: the findings of the skin the main window's boxes name, read as the QQ client
// reads skin.ini, and 整理 to leave one section of each name.
class CheckWindow : public QWidget {
    Q_OBJECT
public:
    CheckWindow();

    // Checks the skin folder of this location off the window thread; the table fills when
    // the check is done. False, after a notice, when the location names no skin folder.
    bool check(const core::SkinLocation &location);

    QTableWidget *table() const { return m_table; }

Q_SIGNALS:
    void checked();

private:
    void startCheck();
    void showResult(const core::SkinCheck &result);
    void tidy();

    QString m_folder; // native
    QLabel *m_folderLabel = nullptr;
    QLabel *m_summary = nullptr;
    QTableWidget *m_table = nullptr;
    QPushButton *m_tidy = nullptr;
};

} // namespace skinmaker::authoring
