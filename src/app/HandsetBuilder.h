#pragma once

#include <QIcon>
#include <QList>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QWidget;
class TFormShaper;
class THalvernShape;
class TImgButton;
class TImgLed;
class TListLabel;
class TTrayIcon;

// The main window's components, under the names of its description.
struct MsgFormUi
{
    QLabel* devicePicture = nullptr; // the device picture; dragging it moves the window
    QLabel* bannerImage = nullptr; // the banner
    QLineEdit* senderEdit = nullptr; // sender
    TListLabel* recipientLabel = nullptr; // recipient name or the list caption
    TImgButton* phoneBookButton = nullptr; // phone book
    QPlainTextEdit* messageEdit = nullptr; // message
    QLabel* counterLabel = nullptr;
    QLineEdit* areaCodeEdit = nullptr; // area code
    TImgButton* areaMenuButton = nullptr; // area-code menu
    QLineEdit* numberEdit = nullptr; // phone number without the area code
    TImgButton* sendButton = nullptr; // send
    QLineEdit* statusLine = nullptr; // status line
    TImgLed* connectionLamp = nullptr;
    TImgButton* menuButton = nullptr; // main menu
    TImgButton* closeButton = nullptr; // close
    THalvernShape* senderFrame = nullptr;
    THalvernShape* separatorLine = nullptr; // the separator line
    THalvernShape* areaCodeFrame = nullptr;
    THalvernShape* numberFrame = nullptr;
    THalvernShape* messageFrame = nullptr;
    QLabel* senderLabel = nullptr; // "השולח:"
    QLabel* numberLabel = nullptr; // "טלפון:"
    QLabel* recipientCaption = nullptr; // "אל:"
    QLabel* messageLabel = nullptr; // "ההודעה: ("
    TTrayIcon* trayIcon = nullptr;
    QList<QIcon> trayImages; // tray images for connection states 0, 1, 2
    QMenu* mainMenu = nullptr;
    QMenu* areaMenu = nullptr; // area codes
    QAction* openAction = nullptr;
    QAction* phoneBookAction = nullptr;
    QAction* preferencesAction = nullptr;
    QAction* teachAction = nullptr; // teaching the program an operator
    QAction* sendLaterAction = nullptr;
    QAction* historyAction = nullptr;
    QAction* tellFriendsAction = nullptr;
    QAction* homePageAction = nullptr;
    QAction* helpMenuAction = nullptr; // help submenu
    QAction* localHelpAction = nullptr; // local help
    QAction* onlineHelpAction = nullptr;
    QAction* demoOperatorsAction = nullptr; // the demonstration operators, also after the first start
    QAction* aboutAction = nullptr; // About
    QAction* languagesAction = nullptr;
    QAction* exitAction = nullptr;
    TFormShaper* shaper96 = nullptr;
    TFormShaper* shaper120 = nullptr;
};

namespace HandsetBuilder {
// The handset's components on `window`, where the skin places them (mirrored in a left-to-right language),
// with their names, texts and colours, and its two menus, not yet wired to anything.
MsgFormUi build(QWidget& window);
}
