<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="he_IL">
<context>
    <name>HelpViewer</name>
    <message>
        <source>עזרה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;תוכן העניינים</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;סגור</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>קובץ העזרה %1 לא נמצא.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא ניתן לקרוא את קובץ העזרה %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageBoxPrompt</name>
    <message>
        <source>אישור</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כן</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PhoneBookTable</name>
    <message>
        <source>The phone book storage cannot be opened: %1</source>
        <translation>לא ניתן לפתוח את אחסון ספר הטלפונים: %1</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2</source>
        <translation>לא ניתן לקרוא את הקובץ %1: %2</translation>
    </message>
    <message>
        <source>the file is damaged (%1)</source>
        <translation>הקובץ פגום (%1)</translation>
    </message>
    <message>
        <source>the file holds no phone book</source>
        <translation>הקובץ אינו מכיל ספר טלפונים</translation>
    </message>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 היא תיקייה</translation>
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
        <translation>RTL</translation>
    </message>
</context>
<context>
    <name>ResStrings</name>
    <message>
        <source> ,מגירסא 4 ומעלה Interner Explorer דרוש דפדפן<byte value="xd"/>.או שהדפדפן אינו מותקן כראוי</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>רשימת הנמענים ריקה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההודעה ריקה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>סה&quot;כ תוים למשלוח גדול מ %d.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שם השולח חסר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מספר הטלפון אינו שלם</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ספק תקשורת לא מוכר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>חסרים נתוני זיהוי עבור %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s חסרים נתוני זיהוי עבור</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לחץ SEND לנסיון נוסף</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cache לא מחובר לשרת ואין הגדרות ב</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא מחובר לאינטרנט!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>?האם לנסות לשלוח</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שליחה מתבצעת. האם לבטל ולשלוח מחדש?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: בהמתנה...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ביטול</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>פעיל</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מתחבר...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מזדהה...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מזוהה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שולח...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההודעה נשלחה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההודעה נדחתה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כשלון</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timed Out</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TAboutForm</name>
    <message>
        <source>אודות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>גרסה: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>© כל הזכויות שמורות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;סגור</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDetailsForm</name>
    <message>
        <source>עדכון פרטי נמען</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שם מלא:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>איזור חיוג:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מס&apos; טלפון:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מספר לא מוכר:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;אשר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;בטל</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TMsgForm</name>
    <message>
        <source>פעיל</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הודעה חדשה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ביטול הודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> תוים</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>?האם למחוק את רשימת הנמענים</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לחץ למידע נוסף...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>השולח:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אל:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>טלפון:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההודעה: (</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;רשימת נמענים&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ספר טלפונים</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>תפריט ראשי</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>סגירה/ביטול ההודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הגדרות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ספר לחברים!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אתר הבית</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>עזרה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>עזרה מקומית</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>עזרה מקוונת</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אודות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>סיום</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>המתן...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TPhoneBookForm</name>
    <message>
        <source>שם מלא</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>טלפון</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>איזור</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> מספר לא מוכר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outlook נכשל הקישור ל </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ספר טלפונים</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>בחר נמען והקש &quot;אשר&quot; לחזרה אל מסך השליחה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>בחירה מרובה נעשית בעזרת מקש Ctrl + קליק שמאלי בעכבר.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>חיפוש שם:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>איש קשר חדש</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>עריכה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>רענון רשימה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מחיקת איש קשר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>השתמש באנשי קשר של Outlook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;אשר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;בטל</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outlookשגיאת </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.קיים איש קשר בשם זה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>איש קשר לא נמצא</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>?מידע שנמחק לא ניתן לשחזור. האם למחוק</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TPopUpStatusForm</name>
    <message>
        <source>מצב שליחה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;בטל</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;סגור</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TPreferencesForm</name>
    <message>
        <source>הגדרות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הגדרות זיהוי</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>חברה:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>זיהוי משתמש:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>סיסמא:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מגבלת הודעות:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אתר הרשמה:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כללי</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TIME-OUT לנסיון שליחה:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שניות.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הצג סטטוס בחלון נפרד.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הפעל אוטומטית עם עליית Windows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>זיהוי</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;אשר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;בטל</source>
        <translation type="unfinished"></translation>
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
