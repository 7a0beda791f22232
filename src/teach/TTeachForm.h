#pragma once

#include "TeachSession.h"

#include <QWidget>

class IBrowserView;
class PersonPages;
class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

// The window in which the user shows the program how to send on an operator's site: the site in a browser
// the user works in, an address field, and a guide of three steps beside it. What the user does there is
// followed by the recorder script of every page; the window writes the definition, keeps the credentials in
// SMS.INI and checks the definition. The window deletes itself when closed.
class TTeachForm : public QWidget
{
    Q_OBJECT
public:
    // `view` is made by the browser library (null when it cannot be loaded: the window then says so).
    // `makeBrowser` gives the check's engine its browser (tests); by default the library's.
    TTeachForm(QWidget* parent, TSMSBaseForm::BrowserMaker makeBrowser = {});
    ~TTeachForm() override;

    TeachSession& session() { return *m_session; }
    // The windows in which the user answers a site during a check; null before the first check.
    PersonPages* personPages() const { return m_personPages; }
    IBrowserView* browserView() const { return m_view; }
    // What the user is asked to type into the operator's form.
    SampleValues samples() const;

    // The page script that watches the demonstration.
    static QString recorderScript();

signals:
    // A definition was written; the program's provider list should take it in.
    void definitionSaved(const QString& path);

private:
    // The guide in its panel; gives the row of its buttons, which stays in view below the panel.
    QLayout* buildGuide(QWidget* panel);
    void addressEntered();
    void recorderMessage(const QString& text);
    void refreshGuide();
    void samplesChanged();
    void SkipLoginClick();
    void MarkAcceptedClick();
    void CheckClick();
    void SaveClick();
    void checkStep(const CheckStep& step);
    void checkFinished(bool passed);
    void closeEvent(QCloseEvent* event) override;

    TeachSession* m_session;
    PersonPages* m_personPages = nullptr;
    IBrowserView* m_view = nullptr;

    QLineEdit* AddressEdit;
    QProgressBar* LoadProgress;
    QLineEdit* ProviderName;
    QLineEdit* AreaCodes;
    QLabel* Step1Label;
    QPushButton* SkipLoginButton;
    QLabel* Step2Label;
    QLineEdit* SampleSender;
    QLineEdit* OwnArea;
    QLineEdit* OwnNumber;
    QLineEdit* SampleMessage;
    QCheckBox* KeepLineBreaks;
    QLabel* Step3Label;
    QPushButton* MarkAcceptedButton;
    QLabel* AcceptedText;
    QLineEdit* RejectedText;
    QLabel* ProblemsLabel;
    QListWidget* CheckList;
    QPushButton* CheckButton;
    QPushButton* SaveButton;
    QPushButton* CloseButton;
};
