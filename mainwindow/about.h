#pragma once
// The About box: what the program is, its version and licence, and the
// versions of Qt and fontconfig it runs with.
#include <QDialog>

class QLabel;
class QPushButton;

namespace gw {

// The version of a run-time component in use ("Qt Core", "fontconfig"), or "unknown".
QString ComponentVersionInUse(const QString& name);

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

private:
    QLabel* versionLabel_ = nullptr;
    QLabel* licenceLabel_ = nullptr;
    QLabel* componentsLabel_ = nullptr;  // the versions of Qt and fontconfig in use
    QPushButton* okButton_ = nullptr;
};

} // namespace gw
