<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>HelpViewer</name>
    <message>
        <source>עזרה</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>&amp;תוכן העניינים</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>&amp;סגור</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>קובץ העזרה %1 לא נמצא.</source>
        <translation>The help file %1 was not found.</translation>
    </message>
    <message>
        <source>לא ניתן לקרוא את קובץ העזרה %1.</source>
        <translation>The help file %1 cannot be read.</translation>
    </message>
</context>
<context>
    <name>MessageBoxPrompt</name>
    <message>
        <source>אישור</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>כן</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>לא</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>PhoneBookTable</name>
    <message>
        <source>The phone book storage cannot be opened: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is damaged (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file holds no phone book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is a folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProfileFile</name>
    <message>
        <source>Unable to write to %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <translation>LTR</translation>
    </message>
</context>
<context>
    <name>ResStrings</name>
    <message>
        <source> ,מגירסא 4 ומעלה Interner Explorer דרוש דפדפן<byte value="xd"/>.או שהדפדפן אינו מותקן כראוי</source>
        <translation>A browser of version 4 or later is required,<byte value="xd"/>or the browser is not installed properly.</translation>
    </message>
    <message>
        <source>רשימת הנמענים ריקה</source>
        <translation>The recipient list is empty</translation>
    </message>
    <message>
        <source>ההודעה ריקה</source>
        <translation>The message is empty</translation>
    </message>
    <message>
        <source>סה&quot;כ תוים למשלוח גדול מ %d.</source>
        <translation>The characters to send are more than %d.</translation>
    </message>
    <message>
        <source>שם השולח חסר</source>
        <translation>The sender&apos;s name is missing</translation>
    </message>
    <message>
        <source>מספר הטלפון אינו שלם</source>
        <translation>The phone number is incomplete</translation>
    </message>
    <message>
        <source>ספק תקשורת לא מוכר</source>
        <translation>Unknown network provider</translation>
    </message>
    <message>
        <source>חסרים נתוני זיהוי עבור %s</source>
        <translation>Login details are missing for %s</translation>
    </message>
    <message>
        <source>%s חסרים נתוני זיהוי עבור</source>
        <translation>Login details are missing for %s</translation>
    </message>
    <message>
        <source>לחץ SEND לנסיון נוסף</source>
        <translation>Press SEND to try again</translation>
    </message>
    <message>
        <source>Cache לא מחובר לשרת ואין הגדרות ב</source>
        <translation>Not connected to the server and no definitions in the cache</translation>
    </message>
    <message>
        <source>לא מחובר לאינטרנט!</source>
        <translation>Not connected to the Internet!</translation>
    </message>
    <message>
        <source>?האם לנסות לשלוח</source>
        <translation>Try to send anyway?</translation>
    </message>
    <message>
        <source>שליחה מתבצעת. האם לבטל ולשלוח מחדש?</source>
        <translation>A message is being sent. Cancel it and send again?</translation>
    </message>
    <message>
        <source>: בהמתנה...</source>
        <translation>: waiting...</translation>
    </message>
    <message>
        <source>ביטול</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>פעיל</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>מתחבר...</source>
        <translation>Connecting...</translation>
    </message>
    <message>
        <source>מזדהה...</source>
        <translation>Logging in...</translation>
    </message>
    <message>
        <source>מזוהה</source>
        <translation>Logged in</translation>
    </message>
    <message>
        <source>שולח...</source>
        <translation>Sending...</translation>
    </message>
    <message>
        <source>ההודעה נשלחה</source>
        <translation>Message sent</translation>
    </message>
    <message>
        <source>ההודעה נדחתה</source>
        <translation>Message rejected</translation>
    </message>
    <message>
        <source>כשלון</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>Timed Out</source>
        <translation>Timed Out</translation>
    </message>
</context>
<context>
    <name>TAboutForm</name>
    <message>
        <source>אודות</source>
        <translation>About</translation>
    </message>
    <message>
        <source>גרסה: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>© כל הזכויות שמורות</source>
        <translation>© All rights reserved</translation>
    </message>
    <message>
        <source>&amp;סגור</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>TDetailsForm</name>
    <message>
        <source>עדכון פרטי נמען</source>
        <translation>Recipient details</translation>
    </message>
    <message>
        <source>שם מלא:</source>
        <translation>Full name:</translation>
    </message>
    <message>
        <source>איזור חיוג:</source>
        <translation>Area code:</translation>
    </message>
    <message>
        <source>מס&apos; טלפון:</source>
        <translation>Phone no.:</translation>
    </message>
    <message>
        <source>מספר לא מוכר:</source>
        <translation>Unknown number:</translation>
    </message>
    <message>
        <source>&amp;אשר</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;בטל</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>TMsgForm</name>
    <message>
        <source>פעיל</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>הודעה חדשה</source>
        <translation>New message</translation>
    </message>
    <message>
        <source>ביטול הודעה</source>
        <translation>Cancel message</translation>
    </message>
    <message>
        <source> תוים</source>
        <translation> chars</translation>
    </message>
    <message>
        <source>?האם למחוק את רשימת הנמענים</source>
        <translation>Delete the recipient list?</translation>
    </message>
    <message>
        <source>לחץ למידע נוסף...</source>
        <translation>Click for more information...</translation>
    </message>
    <message>
        <source>השולח:</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>אל:</source>
        <translation>To:</translation>
    </message>
    <message>
        <source>טלפון:</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>ההודעה: (</source>
        <translation>Message: (</translation>
    </message>
    <message>
        <source>&lt;רשימת נמענים&gt;</source>
        <translation>&lt;Recipient list&gt;</translation>
    </message>
    <message>
        <source>ספר טלפונים</source>
        <translation>Phone book</translation>
    </message>
    <message>
        <source>תפריט ראשי</source>
        <translation>Main menu</translation>
    </message>
    <message>
        <source>סגירה/ביטול ההודעה</source>
        <translation>Close/cancel the message</translation>
    </message>
    <message>
        <source>הגדרות</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>ספר לחברים!</source>
        <translation>Tell your friends!</translation>
    </message>
    <message>
        <source>אתר הבית</source>
        <translation>Home page</translation>
    </message>
    <message>
        <source>עזרה</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>עזרה מקומית</source>
        <translation>Local help</translation>
    </message>
    <message>
        <source>עזרה מקוונת</source>
        <translation>Online help</translation>
    </message>
    <message>
        <source>אודות</source>
        <translation>About</translation>
    </message>
    <message>
        <source>סיום</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>המתן...</source>
        <translation>Please wait...</translation>
    </message>
</context>
<context>
    <name>TPhoneBookForm</name>
    <message>
        <source>שם מלא</source>
        <translation>Full name</translation>
    </message>
    <message>
        <source>טלפון</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>איזור</source>
        <translation>Area</translation>
    </message>
    <message>
        <source> מספר לא מוכר</source>
        <translation> Unknown number</translation>
    </message>
    <message>
        <source>Outlook נכשל הקישור ל </source>
        <translation>Connecting to Outlook failed</translation>
    </message>
    <message>
        <source>ספר טלפונים</source>
        <translation>Phone Book</translation>
    </message>
    <message>
        <source>בחר נמען והקש &quot;אשר&quot; לחזרה אל מסך השליחה.</source>
        <translation>Choose a recipient and press &quot;OK&quot; to return to the send screen.</translation>
    </message>
    <message>
        <source>בחירה מרובה נעשית בעזרת מקש Ctrl + קליק שמאלי בעכבר.</source>
        <translation>To choose several, hold Ctrl and click with the left mouse button.</translation>
    </message>
    <message>
        <source>חיפוש שם:</source>
        <translation>Search name:</translation>
    </message>
    <message>
        <source>איש קשר חדש</source>
        <translation>New contact</translation>
    </message>
    <message>
        <source>עריכה</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>רענון רשימה</source>
        <translation>Refresh list</translation>
    </message>
    <message>
        <source>מחיקת איש קשר</source>
        <translation>Delete contact</translation>
    </message>
    <message>
        <source>השתמש באנשי קשר של Outlook</source>
        <translation>Use Outlook contacts</translation>
    </message>
    <message>
        <source>&amp;אשר</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;בטל</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Outlookשגיאת </source>
        <translation>Outlook error </translation>
    </message>
    <message>
        <source>.קיים איש קשר בשם זה</source>
        <translation>A contact with this name already exists.</translation>
    </message>
    <message>
        <source>איש קשר לא נמצא</source>
        <translation>Contact not found</translation>
    </message>
    <message>
        <source>?מידע שנמחק לא ניתן לשחזור. האם למחוק</source>
        <translation>Deleted information cannot be restored. Delete?</translation>
    </message>
</context>
<context>
    <name>TPopUpStatusForm</name>
    <message>
        <source>מצב שליחה</source>
        <translation>Send status</translation>
    </message>
    <message>
        <source>&amp;בטל</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>&amp;סגור</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>TPreferencesForm</name>
    <message>
        <source>הגדרות</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>הגדרות זיהוי</source>
        <translation>Login settings</translation>
    </message>
    <message>
        <source>חברה:</source>
        <translation>Company:</translation>
    </message>
    <message>
        <source>זיהוי משתמש:</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>סיסמא:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>מגבלת הודעות:</source>
        <translation>Message limit:</translation>
    </message>
    <message>
        <source>אתר הרשמה:</source>
        <translation>Sign-up site:</translation>
    </message>
    <message>
        <source>כללי</source>
        <translation>General</translation>
    </message>
    <message>
        <source>TIME-OUT לנסיון שליחה:</source>
        <translation>Send attempt TIME-OUT:</translation>
    </message>
    <message>
        <source>שניות.</source>
        <translation>seconds.</translation>
    </message>
    <message>
        <source>הצג סטטוס בחלון נפרד.</source>
        <translation>Show the status in a separate window.</translation>
    </message>
    <message>
        <source>הפעל אוטומטית עם עליית Windows</source>
        <translation>Start automatically with the desktop session</translation>
    </message>
    <message>
        <source>זיהוי</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>&amp;אשר</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;בטל</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>TellFriend</name>
    <message>
        <source>Send me a message with Zelkora!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hi,</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There&apos;s a new tool to send text messages (SMS)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to digital mobile phones in Israel (Pelephone, Cellcom, Orange, MIRS).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download it FREE: %1 Try it !</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
