#pragma once

// The About window: product and version, the translator's credit and the
// maker's web and mail links. It stays on top and is not modal.

#include <QDialog>

class QLabel;
class QPushButton;
class TNorbUrlLabel;

// The maker's addresses, opened by the About window's links and the help
// menu's "Web Page".
inline constexpr const char* kMakerWebAddress = "www.kestro.example";
inline constexpr const char* kMakerMailAddress = "info@kestro.example";

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QLabel* nol_lblAboutInfo = nullptr;
    QLabel* nol_lbltTranslation = nullptr;
    TNorbUrlLabel* urlWeb = nullptr;
    TNorbUrlLabel* urlMail = nullptr;
    QPushButton* btnOk = nullptr;

    // The product and version lines with the two lines of notice.
    static QString AboutInfo();

protected:
    void showEvent(QShowEvent* event) override;
};

extern TfrmAbout* frmAbout;
