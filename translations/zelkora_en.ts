<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Contacts::PhoneBookSteps</name>
    <message>
        <source>כרטיסי אנשי קשר שלא ניתן היה לקרוא ולכן לא נטענו: %1</source>
        <translation>Contact cards that could not be read and were not loaded: %1</translation>
    </message>
</context>
<context>
    <name>Contacts::VCardApplication</name>
    <message>
        <source>איש הקשר כבר נמחק</source>
        <translation>The contact has already been deleted</translation>
    </message>
    <message>
        <source>אין פריט מספר %1</source>
        <translation>There is no item number %1</translation>
    </message>
    <message>
        <source>תנאי החיפוש אינו מובן: %1</source>
        <translation>The search condition is not understood: %1</translation>
    </message>
    <message>
        <source>אין תיקייה מספר %1</source>
        <translation>There is no folder number %1</translation>
    </message>
    <message>
        <source>אין אפשרות לקרוא את תיקיית אנשי הקשר %1</source>
        <translation>The contacts folder %1 cannot be read</translation>
    </message>
    <message>
        <source>תיקיית אנשי הקשר %1 לא נמצאה</source>
        <translation>The contacts folder %1 was not found</translation>
    </message>
    <message>
        <source>אין מרחב שמות בשם %1</source>
        <translation>There is no namespace named %1</translation>
    </message>
    <message>
        <source>אין אפשרות ליצור פריט מסוג %1</source>
        <translation>An item of type %1 cannot be created</translation>
    </message>
</context>
<context>
    <name>Contacts::VCardContacts</name>
    <message>
        <source>נכשל הקישור לאנשי קשר מפנקס הכתובות</source>
        <translation>Connecting to the address book failed</translation>
    </message>
    <message>
        <source>הקישור לתקיית אנשי קשר נכשל</source>
        <translation>Connecting to the contacts folder failed</translation>
    </message>
    <message>
        <source>אנשי הקשר לא נשמרו בטבלה</source>
        <translation>The contacts were not stored in the table</translation>
    </message>
    <message>
        <source>אין איש קשר בשם %1</source>
        <translation>There is no contact named %1</translation>
    </message>
    <message>
        <source>כרטיס איש הקשר %1 שונה בידי תוכנה אחרת מאז שנטען, ולכן השינוי לא נשמר. יש לטעון את אנשי הקשר מחדש.</source>
        <translation>The contact card %1 was changed by another program since it was loaded, so the change was not saved. Load the contacts again.</translation>
    </message>
    <message>
        <source>יש כמה אנשי קשר בשם %1, ואין דרך לדעת לאיזה מהם הכוונה; דבר לא נכתב. יש לטעון את אנשי הקשר מחדש.</source>
        <translation>There are several contacts named %1, and no way to tell which one is meant; nothing was written. Load the contacts again.</translation>
    </message>
</context>
<context>
    <name>Contacts::VCardFolder</name>
    <message>
        <source>אין אפשרות לקרוא את תיקיית אנשי הקשר %1</source>
        <translation>The contacts folder %1 cannot be read</translation>
    </message>
    <message>
        <source>איש הקשר כבר נמחק</source>
        <translation>The contact has already been deleted</translation>
    </message>
    <message>
        <source>כרטיס איש הקשר %1 נמחק בידי תוכנה אחרת מאז שנקרא; דבר לא נכתב.</source>
        <translation>The contact card %1 was deleted by another program since it was read; nothing was written.</translation>
    </message>
    <message>
        <source>כרטיס איש הקשר %1 שונה בידי תוכנה אחרת מאז שנקרא, ולכן השינוי לא נשמר. נסה שוב.</source>
        <translation>The contact card %1 was changed by another program since it was read, so the change was not saved. Try again.</translation>
    </message>
    <message>
        <source>אין אפשרות לכתוב את %1: %2</source>
        <translation>%1 cannot be written: %2</translation>
    </message>
    <message>
        <source>השינוי בכרטיס %1 לא נשמר: הכרטיס לא נקרא כראוי לאחר השינוי.</source>
        <translation>The change to the card %1 was not saved: the card did not read back correctly after the change.</translation>
    </message>
    <message>
        <source>אין אפשרות למחוק את %1: %2</source>
        <translation>%1 cannot be deleted: %2</translation>
    </message>
    <message>
        <source>אין אפשרות לכתוב את %1: הקובץ קיים</source>
        <translation>%1 cannot be written: the file exists</translation>
    </message>
    <message>
        <source>כמה כרטיסי אנשי קשר בקובץ %1 נושאים אותו שם ואין להם מזהה, ולכן אי אפשר לדעת לאיזה מהם הכוונה; דבר לא נכתב.</source>
        <translation>Several contact cards in the file %1 have the same name and no identifier, so there is no telling which one is meant; nothing was written.</translation>
    </message>
</context>
<context>
    <name>Credentials</name>
    <message>
        <source>לא ניתן לקרוא את הסיסמה של %1: %2.</source>
        <translation>The password of %1 could not be read: %2.</translation>
    </message>
    <message>
        <source>%1, ולכן הסיסמה של %2 לא נמחקה ממנו.</source>
        <translation>%1, so the password of %2 was not removed from it.</translation>
    </message>
    <message>
        <source>%1, ולכן הסיסמה של %2 לא נשמרה בו.
לשמור אותה בקובץ SMS.INI, כטקסט גלוי? אם לא, היא תישמר בזיכרון עד סיום התוכנית.</source>
        <translation>%1, so the password of %2 was not stored in it.
Write it to SMS.INI instead, as plain text? If not, it is kept in memory until the program ends.</translation>
    </message>
    <message>
        <source>%1, ולכן הסיסמאות לא הועברו אליו. הן נשארות בקובץ SMS.INI.</source>
        <translation>%1, so the passwords were not moved into it. They stay in SMS.INI.</translation>
    </message>
    <message>
        <source>%1, ולכן לא ניתן להחזיר לקובץ SMS.INI את הסיסמאות השמורות בו.
להפסיק בכל זאת לשמור סיסמאות במחזיק המפתחות? את הסיסמאות השמורות בו יהיה צריך להקליד שוב.</source>
        <translation>%1, so the passwords kept in it cannot be written back to SMS.INI.
Stop keeping passwords in the keyring all the same? The passwords kept there will have to be typed again.</translation>
    </message>
    <message>
        <source>הסיסמאות הועתקו לקובץ SMS.INI, אך לא נמחקו ממחזיק המפתחות: %1.</source>
        <translation>The passwords were copied to SMS.INI but not removed from the keyring: %1.</translation>
    </message>
</context>
<context>
    <name>DefinitionCheck</name>
    <message>
        <source>כאן שליחה אמיתית הייתה שולחת את טופס ההודעה; דבר לא נשלח</source>
        <translation>a send would submit the message form here; nothing was submitted</translation>
    </message>
    <message>
        <source>אין בו שדות עם שם</source>
        <translation>it has no named fields</translation>
    </message>
    <message>
        <source>שדותיו: %1</source>
        <translation>its fields: %1</translation>
    </message>
    <message>
        <source>אין טופס בשם או במספר %1 (%2)</source>
        <translation>no form named or numbered %1 (%2)</translation>
    </message>
    <message>
        <source>אין בטופס שדה %1; %2</source>
        <translation>no field %1 in the form; %2</translation>
    </message>
    <message>
        <source>לחיצה על הקישור אל %1</source>
        <translation>click on the link to %1</translation>
    </message>
    <message>
        <source>אין בדף קישור אל %1</source>
        <translation>no link on the page goes to %1</translation>
    </message>
    <message>
        <source>לחיצה על %1</source>
        <translation>click on %1</translation>
    </message>
    <message>
        <source>אין בטופס פקד %1; %2</source>
        <translation>no control %1 in the form; %2</translation>
    </message>
    <message>
        <source>הטופס נשלח כמות שהוא</source>
        <translation>the form submitted as it is</translation>
    </message>
    <message>
        <source>לחיצה על הפקד בשם SUBMIT, עם הערך %1</source>
        <translation>click on the control named SUBMIT, given %1</translation>
    </message>
    <message>
        <source>אין בטופס פקד בשם SUBMIT; %1</source>
        <translation>no control named SUBMIT in the form; %1</translation>
    </message>
    <message>
        <source>ההגדרה אינה מציינת דרך לשלוח את הטופס (%1)</source>
        <translation>the definition names no way to submit the form (%1)</translation>
    </message>
    <message>
        <source>אין טפסים בדף</source>
        <translation>the page has no forms</translation>
    </message>
    <message>
        <source>הטפסים בדף: %1</source>
        <translation>forms on the page: %1</translation>
    </message>
    <message>
        <source>; מספר המסגרות בדף: %1</source>
        <translation>; the page has %1 frame(s)</translation>
    </message>
    <message>
        <source>הרשימה אינה מציעה %1 (היא מציעה %2)</source>
        <translation>the list offers no %1 (it offers %2)</translation>
    </message>
    <message>
        <source>איש לא ענה על דף האתר תוך %1 שניות</source>
        <translation>nobody answered the site&apos;s page within %1 s</translation>
    </message>
    <message>
        <source>אין מפעיל לקידומת %1</source>
        <translation>no provider serves area code %1</translation>
    </message>
    <message>
        <source>%1 משרת את הקידומת %2</source>
        <translation>%1 serves %2</translation>
    </message>
    <message>
        <source>שם משתמש וסיסמה של %1</source>
        <translation>a user name and a password for %1</translation>
    </message>
    <message>
        <source>לא ניתן לטעון את הדפדפן המובנה</source>
        <translation>the embedded browser cannot be loaded</translation>
    </message>
    <message>
        <source>שום דף של האתר לא נטען במקום %1</source>
        <translation>no page of the site&apos;s loaded instead of %1</translation>
    </message>
    <message>
        <source>נטען בכתובת %1</source>
        <translation>loaded at %1</translation>
    </message>
    <message>
        <source>הדף שנטען הוא %1, לא %2</source>
        <translation>the page that loaded is %1, not %2</translation>
    </message>
    <message>
        <source>מסגרת %1</source>
        <translation>frame %1</translation>
    </message>
    <message>
        <source>אין בדף מסגרת %1 שיש בה מסמך (מספר המסגרות בדף: %2)</source>
        <translation>the page has no frame %1 with a document (it has %2 frame(s))</translation>
    </message>
    <message>
        <source>האתר מציג קודם את %1, שרק אדם יכול לענות עליו: עננו עליו בחלון שלו</source>
        <translation>the site shows %1 first, which only a person can answer: answer it in its window</translation>
    </message>
    <message>
        <source>נטען בכתובת %1 אחרי תשובת האדם</source>
        <translation>loaded at %1 after the person&apos;s answer</translation>
    </message>
    <message>
        <source>דף האתר לא נענה</source>
        <translation>the site&apos;s page was not answered</translation>
    </message>
    <message>
        <source>תהליך התצוגה של הדף הסתיים</source>
        <translation>the page&apos;s renderer process ended</translation>
    </message>
    <message>
        <source>אף דף לא נטען עד סופו תוך %1 שניות</source>
        <translation>no page completed within %1 s</translation>
    </message>
    <message>
        <source>דף ההודעה נפתח שוב בלי כניסה נוספת: הנמענים הבאים ברשימה לא ייכנסו שוב</source>
        <translation>The message page opens again without another login: the further recipients of a list will not log in again</translation>
    </message>
    <message>
        <source>האתר מבקש כניסה לפני כל הודעה: כל נמען ברשימה ייכנס מחדש</source>
        <translation>The site asks for its login before every message: each recipient of a list logs in again</translation>
    </message>
</context>
<context>
    <name>DefinitionFile</name>
    <message>
        <source>הערך של %1 (%2) מכיל מירכאות או גרש, וקובץ הגדרות אינו יכול לשמור אותם.</source>
        <translation>The value of %1 (%2) holds a quotation mark or an apostrophe, which a definition file cannot keep.</translation>
    </message>
    <message>
        <source>ברשימת הקידומות של האתר מופיע &quot;%1&quot;, וקובץ הגדרות אינו יכול לשמור רווחים, פסיקים או מירכאות בערך של קידומת.</source>
        <translation>The site&apos;s list of area codes holds &quot;%1&quot;, and a definition file cannot keep blanks, commas or quotation marks in an area code&apos;s value.</translation>
    </message>
    <message>
        <source>לא ניתן ליצור את התיקייה %1.</source>
        <translation>The folder %1 cannot be created.</translation>
    </message>
    <message>
        <source>לא ניתן לכתוב את הקובץ %1: %2</source>
        <translation>The file %1 cannot be written: %2</translation>
    </message>
    <message>
        <source>קובץ ההגדרה לא ייקרא כפי שנכתב: %1</source>
        <translation>The definition file would not read back as written: %1</translation>
    </message>
    <message>
        <source>קובץ ההגדרה לא ייקרא כפי שנכתב: נמצאו בו %1 ספקים.</source>
        <translation>The definition file would not read back as written: it holds %1 providers.</translation>
    </message>
    <message>
        <source>הערך של %1 לא ייקרא מקובץ ההגדרה כפי שנכתב.</source>
        <translation>The value of %1 would not read back from the definition file as written.</translation>
    </message>
    <message>
        <source>רשימת הקידומות לא תיקרא מקובץ ההגדרה כפי שנכתבה.</source>
        <translation>The list of area codes would not read back from the definition file as written.</translation>
    </message>
    <message>
        <source>הערך של %1 מכיל את שם המשתמש או את הסיסמה שלך, וקובץ הגדרות אינו שומר אותם.</source>
        <translation>The value of %1 holds your user name or password, which a definition file does not keep.</translation>
    </message>
</context>
<context>
    <name>DemoOperators</name>
    <message>
        <source>לא ניתן להפעיל את %1: %2</source>
        <translation>Cannot start %1: %2</translation>
    </message>
    <message>
        <source>התוכנה %1 הסתיימה לפני שהתחילה לפעול</source>
        <translation>%1 ended before it started working</translation>
    </message>
    <message>
        <source>התוכנה %1 לא ענתה</source>
        <translation>%1 did not answer</translation>
    </message>
    <message>
        <source>התוכנה %1 לא נמצאה; היא באה עם החבילה של Zelkora</source>
        <translation>%1 was not found; it comes with the Zelkora package</translation>
    </message>
    <message>
        <source>התוכנה %1 לא אמרה היכן היא מאזינה</source>
        <translation>%1 did not say where it listens</translation>
    </message>
</context>
<context>
    <name>DemoRun</name>
    <message>
        <source>שלום! זו הודעת ניסיון דרך מפעילי ההדגמה.</source>
        <translation>Hello! This is a test message through the demo operators.</translation>
    </message>
</context>
<context>
    <name>Demonstration</name>
    <message>
        <source>הטופס פותח את התשובה בחלון חדש, והתוכנה אינה יכולה להמשיך אחריו.</source>
        <translation>The form opens its answer in a new window, which the program cannot follow.</translation>
    </message>
    <message>
        <source>%1 נמצא במסגרת של אתר אחר (%2), והתוכנה אינה יכולה להגיע אליו.</source>
        <translation>%1 is in a frame of another site (%2), which the program cannot reach.</translation>
    </message>
    <message>
        <source>%1 נמצא במסגרת שבתוך מסגרת אחרת; התוכנה מגיעה רק למסגרות של הדף עצמו.</source>
        <translation>%1 is in a frame inside another frame; the program reaches only the frames of the page itself.</translation>
    </message>
    <message>
        <source>טופס הכניסה</source>
        <translation>The login form</translation>
    </message>
    <message>
        <source>לא נראתה הקלדה של שם משתמש בטופס הכניסה.</source>
        <translation>No user name was seen being typed into the login form.</translation>
    </message>
    <message>
        <source>לא נראתה הקלדה של סיסמה בטופס הכניסה.</source>
        <translation>No password was seen being typed into the login form.</translation>
    </message>
    <message>
        <source>לשדה בטופס הכניסה שבו הקלדת אין שם, והתוכנה מוצאת שדות לפי שמם.</source>
        <translation>The login form field you typed into has no name, and the program finds fields by their names.</translation>
    </message>
    <message>
        <source>טופס ההודעה</source>
        <translation>The message form</translation>
    </message>
    <message>
        <source>טופס ההודעה הופיע בלי שדף חדש נטען אחרי הכניסה (האתר החליף את תוכן הדף בסקריפט); התוכנה ממשיכה רק מדף שנטען.</source>
        <translation>The message form appeared without a new page loading after the login (the site replaced the page&apos;s content by a script); the program goes on only from a page that loaded.</translation>
    </message>
    <message>
        <source>אחרי הכניסה האתר פתח את %1, אבל טופס ההודעה שמילאת היה בדף %2 שהגעת אליו משם. התוכנה יכולה למלא רק את הדף שהכניסה מובילה אליו.</source>
        <translation>After the login the site opened %1, but the message form you filled in was on the page %2 that you reached from there. The program can fill in only the page the login leads to.</translation>
    </message>
    <message>
        <source>לשדה שבו הקלדת את %1 אין שם, והתוכנה מוצאת שדות לפי שמם.</source>
        <translation>The field you typed %1 into has no name, and the program finds fields by their names.</translation>
    </message>
    <message>
        <source>%1 הגיע לאתר דרך שדה שסקריפט של האתר מילא (%2); התוכנה אינה מריצה סקריפטים כאלה.</source>
        <translation>%1 reached the site through a field that a script of the site filled in (%2); the program does not run such scripts.</translation>
    </message>
    <message>
        <source>ההודעה לדוגמה</source>
        <translation>The sample message</translation>
    </message>
    <message>
        <source>ההודעה לדוגמה (%1) לא נמצאה בטופס שנשלח.</source>
        <translation>The sample message (%1) was not found in the form that was sent.</translation>
    </message>
    <message>
        <source>האתר שינה את מה שהקלדת בשדה %1 לפני השליחה; הוא זקוק לסקריפט שהתוכנה אינה מריצה.</source>
        <translation>The site changed what you typed in the field %1 before sending; it needs a script that the program does not run.</translation>
    </message>
    <message>
        <source>שם השולח</source>
        <translation>The sender&apos;s name</translation>
    </message>
    <message>
        <source>הקידומת</source>
        <translation>The area code</translation>
    </message>
    <message>
        <source>המספר</source>
        <translation>The number</translation>
    </message>
    <message>
        <source>המספר לדוגמה (%1) לא נמצא בטופס שנשלח.</source>
        <translation>The sample number (%1) was not found in the form that was sent.</translation>
    </message>
    <message>
        <source>הטקסט שסימנת אינו בדף שבו הופיעה התוצאה; התוכנה מחפשת את התוצאה רק בטקסט של החלון שאליו נשלח הטופס.</source>
        <translation>The text you marked is not on the page where the result appeared; the program looks for the result only in the text of the window the form was sent to.</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>אירעה שגיאה לא צפויה</source>
        <translation>An unexpected error occurred</translation>
    </message>
</context>
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
    <name>HistoryRecorder</name>
    <message>
        <source>השליחה כבר אינה ממתינה בתור: תוכנה אחרת לקחה אותה</source>
        <translation>The send no longer waits in the queue: another program took it</translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>לא נשלחה: השליחה נקטעה לפני תורה</source>
        <translation>Not sent: the sending stopped before its turn</translation>
    </message>
    <message>
        <source>ההיסטוריה אינה פתוחה</source>
        <translation>the history is not open</translation>
    </message>
    <message>
        <source>it holds another program&apos;s tables (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it was written by a newer version of the program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history %1 is not one this program can use: %2. It was left as it is, and nothing will be recorded in it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history %1 cannot be written (%2). It was kept as it is%3; nothing can be recorded or sent until it can be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, and is shown read-only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history %1 cannot be read (%2); nothing will be recorded in it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history %1 cannot be read (%2); it was moved to %3, and a new one begins.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Keyring</name>
    <message>
        <source>מחזיק המפתחות של שולחן העבודה נעול</source>
        <translation>The desktop keyring is locked</translation>
    </message>
    <message>
        <source>מחזיק המפתחות של שולחן העבודה אינו זמין (%1)</source>
        <translation>The desktop keyring is not available (%1)</translation>
    </message>
    <message>
        <source>מחזיק המפתחות של שולחן העבודה סירב לבקשה (%1)</source>
        <translation>The desktop keyring refused the request (%1)</translation>
    </message>
</context>
<context>
    <name>LocalDefinitions</name>
    <message>
        <source>%1: cannot be read (%2)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainSession</name>
    <message>
        <source>לא ניתן לקרוא מהקישור את המספר: %1</source>
        <translation>The link&apos;s number could not be read: %1</translation>
    </message>
    <message>
        <source>ייתכן שההודעה כבר נשלחה ל-%1 מהנמענים (לא התקבל אישור מהאתר). לשלוח גם אליהם?</source>
        <translation type="vanished">The message may already have been sent to %1 of the recipients (the site did not confirm it). Send to them as well?</translation>
    </message>
    <message>
        <source>%1 נמענים שייתכן שכבר קיבלו את ההודעה לא נכללו</source>
        <translation type="vanished">%1 recipients who may already have the message were left out</translation>
    </message>
    <message>
        <source>ההיסטוריה לא יכלה לרשום את תוצאת השליחה: %1</source>
        <translation type="vanished">The history could not record the outcome of the send: %1</translation>
    </message>
    <message>
        <source>ההגדרות לא נשמרו: %1</source>
        <translation>The settings were not saved: %1</translation>
    </message>
    <message>
        <source>שלום! זו הודעת ניסיון דרך מפעילי ההדגמה.</source>
        <translation type="vanished">Hello! This is a test message through the demo operators.</translation>
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
    <name>MissedSendsDialog</name>
    <message>
        <source>הודעות שמועדן עבר</source>
        <translation>Messages whose time has passed</translation>
    </message>
    <message>
        <source>נמען</source>
        <translation>Recipient</translation>
    </message>
    <message>
        <source>מועד</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>הודעה</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>מה לעשות</source>
        <translation>What to do</translation>
    </message>
    <message>
        <source>שמור לאחר כך</source>
        <translation>Keep for later</translation>
    </message>
    <message>
        <source>שלח עכשיו</source>
        <translation>Send now</translation>
    </message>
    <message>
        <source>בטל</source>
        <translation>Drop</translation>
    </message>
    <message>
        <source>מועד השליחה של ההודעות האלה עבר כשהתוכנה לא פעלה. מה לעשות בכל אחת?</source>
        <translation>These messages were due while the program was not running. What should happen to each?</translation>
    </message>
    <message>
        <source>מועד השליחה:</source>
        <translation>Send at:</translation>
    </message>
</context>
<context>
    <name>PersonPageWindow</name>
    <message>
        <source>אתר המפעיל זקוק לך: ענה לו כאן; השליחה תימשך כשדף ההודעה ייפתח</source>
        <translation>The operator&apos;s site needs you: answer it here; sending goes on when the message page opens</translation>
    </message>
    <message>
        <source>&amp;בטל</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>PhoneBookTable</name>
    <message>
        <source>The phone book storage cannot be opened: %1</source>
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
    <message>
        <source>The file %1 cannot be read: %2. It is kept as it is, and the table starts empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2. It was moved to %3, and the table starts empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be read and is not written over</source>
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
    <name>ProgramEntry</name>
    <message>
        <source>הקישור ארוך מדי, ולא ניתן לפתוח אותו</source>
        <translation>The link is too long to be opened</translation>
    </message>
    <message>
        <source>התוכנה כבר פועלת עבור הקבצים שב-%1</source>
        <translation>The program is already running for the files in %1</translation>
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
    <message>
        <source>לא התקבל אישור מהאתר: ייתכן שההודעה נשלחה</source>
        <translation>The site did not confirm: the message may have been sent</translation>
    </message>
    <message>
        <source>אתר המפעיל ממתין לך...</source>
        <translation>The operator&apos;s site is waiting for you...</translation>
    </message>
</context>
<context>
    <name>SendFailure</name>
    <message>
        <source>האתר השיב בשגיאה (HTTP %1)</source>
        <translation>The site answered with an error (HTTP %1)</translation>
    </message>
    <message>
        <source>לא ניתן להגיע לאתר</source>
        <translation>The site could not be reached</translation>
    </message>
    <message>
        <source>לא ניתן להגיע לאתר (%1)</source>
        <translation>The site could not be reached (%1)</translation>
    </message>
    <message>
        <source>האתר ביקש להתחבר מחדש במקום לקבל את ההודעה</source>
        <translation>The site asked to log in again instead of taking the message</translation>
    </message>
    <message>
        <source>האתר דחה את הכניסה: בדקו את שם המשתמש והסיסמה בהגדרות</source>
        <translation>The site refused the login: check the user name and password in Preferences</translation>
    </message>
    <message>
        <source>בדף האתר אין הטופס &quot;%1&quot; שבהגדרת המפעיל</source>
        <translation>The site&apos;s page does not hold the form &quot;%1&quot; that the operator&apos;s definition names</translation>
    </message>
    <message>
        <source>האתר לא ענה תוך %1 שניות</source>
        <translation>The site did not answer within %1 seconds</translation>
    </message>
    <message>
        <source>השליחה בוטלה</source>
        <translation>The send was cancelled</translation>
    </message>
    <message>
        <source>ההודעה יצאה, ודפי האתר לא אמרו דבר עליה תוך %1 שניות</source>
        <translation>The message left, and the site&apos;s pages said nothing of it within %1 seconds</translation>
    </message>
    <message>
        <source>אין מפעיל לקידומת %1</source>
        <translation>No operator serves the area code %1</translation>
    </message>
    <message>
        <source>חסרים שם משתמש וסיסמה של %1 בהגדרות</source>
        <translation>The user name and password for %1 are missing from Preferences</translation>
    </message>
    <message>
        <source>הדפדפן נעצר</source>
        <translation>The browser stopped</translation>
    </message>
    <message>
        <source>הדף שהאתר הציג לא נענה</source>
        <translation>The page the site showed was not answered</translation>
    </message>
    <message>
        <source>האתר הציג דף אחר מזה שבהגדרת המפעיל (%1)</source>
        <translation>The site showed another page than the operator&apos;s definition names (%1)</translation>
    </message>
    <message>
        <source>בדף ההודעה אין דרך לשלוח את הטופס כפי שהגדרת המפעיל אומרת</source>
        <translation>The message page has no way to send its form as the operator&apos;s definition says</translation>
    </message>
    <message>
        <source>דף הכניסה עבר אל %1, ופרטי הכניסה לא נשלחו לשם</source>
        <translation>The login page moved to %1, and the login details were not sent there</translation>
    </message>
    <message>
        <source>הגדרת המפעיל אינה מציינת טקסט שמאשר את השליחה</source>
        <translation>The operator&apos;s definition names no text that confirms the message</translation>
    </message>
    <message>
        <source>לא ניתן לקרוא את דף האתר (%1)</source>
        <translation>The site&apos;s page could not be read (%1)</translation>
    </message>
</context>
<context>
    <name>SendQueue</name>
    <message>
        <source>ההיסטוריה לא יכלה לרשום את תוצאת השליחה: %1</source>
        <translation>The history could not record the outcome of the send: %1</translation>
    </message>
    <message>
        <source>ייתכן שההודעה כבר נשלחה ל-%1 מהנמענים (לא התקבל אישור מהאתר). לשלוח גם אליהם?</source>
        <translation>The message may already have been sent to %1 of the recipients (the site did not confirm it). Send to them as well?</translation>
    </message>
    <message>
        <source>%1 נמענים שייתכן שכבר קיבלו את ההודעה לא נכללו</source>
        <translation>%1 recipients who may already have the message were left out</translation>
    </message>
</context>
<context>
    <name>SendWorkflow</name>
    <message>
        <source>לא ניתן לרשום את השליחה בהיסטוריה, ולכן לא נשלח דבר: %1</source>
        <translation>The send cannot be recorded in the history, so nothing was sent: %1</translation>
    </message>
    <message>
        <source>דף הכניסה של %1 עבר אל %2%3. להשתמש שם בפרטי הכניסה שלך ל-%1?</source>
        <translation>The login page of %1 moved to %2%3. Use your %1 credentials there?</translation>
    </message>
    <message>
        <source> (http: לא מוצפן, כל מי שבדרך יכול לקרוא)</source>
        <translation> (http: not encrypted, anyone on the way can read it)</translation>
    </message>
    <message>
        <source>פרטי הכניסה של %1 לא נשלחו: דף הכניסה עבר אל %2</source>
        <translation>The credentials of %1 were not sent: its login page moved to %2</translation>
    </message>
</context>
<context>
    <name>ServiceConnection</name>
    <message>
        <source>Problems in the local provider definitions:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusDisplay</name>
    <message>
        <source>המתן...</source>
        <translation>Please wait...</translation>
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
    <name>THalvernLanguage</name>
    <message>
        <source>לא ניתן לטעון את קובץ השפה %1.</source>
        <translation>The language file %1 cannot be loaded.</translation>
    </message>
</context>
<context>
    <name>THistoryForm</name>
    <message>
        <source>היסטוריית שליחה</source>
        <translation>Send history</translation>
    </message>
    <message>
        <source>חיפוש לפי שם, מספר או טקסט</source>
        <translation>Search by name, number or text</translation>
    </message>
    <message>
        <source>רק מה שלא נשלח</source>
        <translation>Only what was not sent</translation>
    </message>
    <message>
        <source>שלח שוב</source>
        <translation>Send again</translation>
    </message>
    <message>
        <source>שלח שוב למי שלא קיבל</source>
        <translation>Send again to those not sent</translation>
    </message>
    <message>
        <source>שנה מועד...</source>
        <translation>Change time...</translation>
    </message>
    <message>
        <source>בטל שליחה</source>
        <translation>Drop send</translation>
    </message>
    <message>
        <source>ייצוא ל-CSV...</source>
        <translation>Export to CSV...</translation>
    </message>
    <message>
        <source>זמן</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>נמען</source>
        <translation>Recipient</translation>
    </message>
    <message>
        <source>מספר</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>ספק</source>
        <translation>Provider</translation>
    </message>
    <message>
        <source>הודעה</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>מצב</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>אושר</source>
        <translation>Confirmed</translation>
    </message>
    <message>
        <source>מתוזמן ל-%1</source>
        <translation>Scheduled for %1</translation>
    </message>
    <message>
        <source>שינוי מועד</source>
        <translation>Change time</translation>
    </message>
    <message>
        <source>ההודעה כבר אינה ממתינה לשליחה.</source>
        <translation>The message is no longer waiting to be sent.</translation>
    </message>
    <message>
        <source>לבטל את שליחת ההודעה ל-%1 ב-%2?</source>
        <translation>Drop the message to %1 set for %2?</translation>
    </message>
    <message>
        <source>ייצוא ל-CSV</source>
        <translation>Export to CSV</translation>
    </message>
    <message>
        <source>קובצי CSV (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>הקובץ %1 לא נכתב: %2</source>
        <translation>The file %1 was not written: %2</translation>
    </message>
    <message>
        <source>%1 רשומות נכתבו אל %2</source>
        <translation>%1 entries were written to %2</translation>
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
        <translation type="vanished">Please wait...</translation>
    </message>
    <message>
        <source>לימוד ספק חדש...</source>
        <translation>Teach a new provider...</translation>
    </message>
    <message>
        <source>שליחה במועד מאוחר...</source>
        <translation>Send later...</translation>
    </message>
    <message>
        <source>היסטוריה</source>
        <translation>History</translation>
    </message>
    <message>
        <source>שליחה במועד מאוחר</source>
        <translation>Send later</translation>
    </message>
    <message>
        <source>ההודעה תישלח ב-%1</source>
        <translation>The message will be sent at %1</translation>
    </message>
    <message>
        <source>שליחה הבאה: %1, אל %2</source>
        <translation>Next send: %1, to %2</translation>
    </message>
    <message>
        <source>אין עדיין ספקים: יש ללמד את התוכנה מפעיל או להזין כתובת שירות</source>
        <translation>No providers yet: teach the program an operator or enter a service address</translation>
    </message>
    <message>
        <source>מפעילי הדגמה: שום הודעה לא יוצאת מהמחשב</source>
        <translation>Demo operators: no message leaves this computer</translation>
    </message>
    <message>
        <source>מפעילי ההדגמה עולים...</source>
        <translation>Starting the demo operators...</translation>
    </message>
    <message>
        <source>לא ניתן להפעיל את מפעילי ההדגמה: %1</source>
        <translation>Cannot start the demo operators: %1</translation>
    </message>
    <message>
        <source>שלום! זו הודעת ניסיון דרך מפעילי ההדגמה.</source>
        <translation type="vanished">Hello! This is a test message through the demo operators.</translation>
    </message>
    <message>
        <source>אין הגדרות ספקים</source>
        <translation>No provider definitions</translation>
    </message>
    <message>
        <source>מתחבר לשירות...</source>
        <translation>Connecting to the service...</translation>
    </message>
    <message>
        <source>עובד מהגדרות שמורות או משלך</source>
        <translation>Working from stored or your own definitions</translation>
    </message>
    <message>
        <source>הגדרות מהשירות</source>
        <translation>Definitions from the service</translation>
    </message>
    <message>
        <source>קידומת</source>
        <translation>Area code</translation>
    </message>
    <message>
        <source>שלח</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>Ctrl+Enter שולח מכל שדה</source>
        <translation>Ctrl+Enter sends from any field</translation>
    </message>
    <message>
        <source>בחירת קידומת</source>
        <translation>Choose the area code</translation>
    </message>
    <message>
        <source>Alt+חץ למטה פותח את רשימת הקידומות</source>
        <translation>Alt+Down opens the list of area codes</translation>
    </message>
    <message>
        <source>נורית: אין הגדרות זמינות או אין חיבור</source>
        <translation>Lamp: no usable definitions, or not connected</translation>
    </message>
    <message>
        <source>נורית: עובד מההגדרות השמורות או מתחבר לשירות</source>
        <translation>Lamp: working from the stored definitions, or connecting to the service</translation>
    </message>
    <message>
        <source>נורית: מחובר, ההגדרות מהשירות</source>
        <translation>Lamp: connected, definitions from the service</translation>
    </message>
    <message>
        <source>שורת מצב</source>
        <translation>Status line</translation>
    </message>
    <message>
        <source>פרסומת</source>
        <translation>Advertisement</translation>
    </message>
    <message>
        <source>ההודעה: %1 מתוך %2 תוים</source>
        <translation>Message: %1 of %2 characters</translation>
    </message>
    <message>
        <source>פרסומת: %1, פותחת את הדף שלה</source>
        <translation>Advertisement: %1, opens its page</translation>
    </message>
    <message>
        <source>שליחה מתוזמנת אל %1</source>
        <translation>Queued send to %1</translation>
    </message>
    <message>
        <source>לא נמצאה תוכנת דואר שתפתח את ההודעה. אפשר להמליץ לחברים על Zelkora בכתובת %1</source>
        <translation>No mail program was found to open the message. You can tell your friends about Zelkora at %1</translation>
    </message>
    <message>
        <source>נסו עם מפעילי ההדגמה</source>
        <translation>Try the demonstration operators</translation>
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
        <source>נכשל הקישור לאנשי קשר מפנקס הכתובות</source>
        <translation>Connecting to the address book failed</translation>
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
        <source>אנשי קשר מפנקס הכתובות</source>
        <translation>Use address book contacts</translation>
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
        <source>שגיאה באנשי קשר מפנקס הכתובות</source>
        <translation>Address book error </translation>
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
        <translation type="vanished">&amp;Cancel</translation>
    </message>
    <message>
        <source>&amp;סגור</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>שלח שוב למי שלא קיבל</source>
        <translation>Send again to those not sent</translation>
    </message>
    <message>
        <source>מצב השליחה לכל נמען</source>
        <translation>Status of each recipient</translation>
    </message>
    <message>
        <source>&amp;עצור את השליחה</source>
        <translation>&amp;Stop sending</translation>
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
        <source>הפעל אוטומטית עם תחילת ההפעלה של שולחן העבודה</source>
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
    <message>
        <source>שמור היסטוריה של:</source>
        <translation>Keep history of:</translation>
    </message>
    <message>
        <source>כל הזמן</source>
        <translation>all time</translation>
    </message>
    <message>
        <source> ימים</source>
        <translation> days</translation>
    </message>
    <message>
        <source>שמור סיסמאות במחזיק המפתחות של שולחן העבודה</source>
        <translation>Keep passwords in the desktop keyring</translation>
    </message>
    <message>
        <source>כתובת השירות:</source>
        <translation>Service address:</translation>
    </message>
    <message>
        <source>כתובת השירות צריכה להתחיל ב-http:// או ב-https://, למשל https://example.org/sms</source>
        <translation>The service address must begin with http:// or https://, for example https://example.org/sms</translation>
    </message>
</context>
<context>
    <name>TProgressForm</name>
    <message>
        <source>טעינת אנשי קשר מפנקס הכתובות</source>
        <translation>Loading contacts from the address book</translation>
    </message>
    <message>
        <source>מתנתק מפנקס הכתובות...</source>
        <translation>Disconnecting from the address book...</translation>
    </message>
</context>
<context>
    <name>TTeachForm</name>
    <message>
        <source>ספק</source>
        <translation>Provider</translation>
    </message>
    <message>
        <source>פרטי כניסה</source>
        <translation>Login details</translation>
    </message>
    <message>
        <source>הדפדפן</source>
        <translation>The browser</translation>
    </message>
    <message>
        <source>גישה לדף</source>
        <translation>Page access</translation>
    </message>
    <message>
        <source>דף הכניסה</source>
        <translation>Login page</translation>
    </message>
    <message>
        <source>מסגרת דף הכניסה</source>
        <translation>Login page frame</translation>
    </message>
    <message>
        <source>טופס הכניסה</source>
        <translation>Login form</translation>
    </message>
    <message>
        <source>שדה שם המשתמש</source>
        <translation>User name field</translation>
    </message>
    <message>
        <source>שדה הסיסמה</source>
        <translation>Password field</translation>
    </message>
    <message>
        <source>שליחת טופס הכניסה</source>
        <translation>Sending the login form</translation>
    </message>
    <message>
        <source>דף ההודעה</source>
        <translation>Message page</translation>
    </message>
    <message>
        <source>מסגרת דף ההודעה</source>
        <translation>Message page frame</translation>
    </message>
    <message>
        <source>טופס ההודעה</source>
        <translation>Message form</translation>
    </message>
    <message>
        <source>שדה השולח</source>
        <translation>Sender field</translation>
    </message>
    <message>
        <source>שדה הקידומת</source>
        <translation>Area code field</translation>
    </message>
    <message>
        <source>בחירת הקידומת</source>
        <translation>Area code choice</translation>
    </message>
    <message>
        <source>שדה המספר</source>
        <translation>Number field</translation>
    </message>
    <message>
        <source>שדה ההודעה</source>
        <translation>Message field</translation>
    </message>
    <message>
        <source>שליחת טופס ההודעה</source>
        <translation>Sending the message form</translation>
    </message>
    <message>
        <source>לימוד ספק חדש</source>
        <translation>Teach a new provider</translation>
    </message>
    <message>
        <source>חזרה</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>רענון</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>כתובת דף הכניסה של הספק</source>
        <translation>Address of the provider&apos;s login page</translation>
    </message>
    <message>
        <source>לא ניתן לטעון את הדפדפן המובנה, ולכן אי אפשר להדגים שליחה.</source>
        <translation>The embedded browser cannot be loaded, so no send can be shown.</translation>
    </message>
    <message>
        <source>הראו לתוכנה פעם אחת איך שולחים הודעה באתר של הספק, והיא תכתוב את ההגדרה בעצמה, תבדוק אותה ותשתמש בה.</source>
        <translation>Show the program once how a message is sent on the provider&apos;s site, and it will write the definition itself, check it and use it.</translation>
    </message>
    <message>
        <source>שם הספק:</source>
        <translation>Provider name:</translation>
    </message>
    <message>
        <source>הקידומות שהוא משרת:</source>
        <translation>Area codes it serves:</translation>
    </message>
    <message>
        <source>האתר אינו דורש כניסה</source>
        <translation>The site needs no login</translation>
    </message>
    <message>
        <source>שם השולח:</source>
        <translation>Sender name:</translation>
    </message>
    <message>
        <source>הקידומת שלכם:</source>
        <translation>Your area code:</translation>
    </message>
    <message>
        <source>המספר שלכם:</source>
        <translation>Your number:</translation>
    </message>
    <message>
        <source>ההודעה:</source>
        <translation>Message:</translation>
    </message>
    <message>
        <source>האתר מקבל שורות חדשות בהודעה</source>
        <translation>The site accepts line breaks in the message</translation>
    </message>
    <message>
        <source>זה הטקסט שאומר שההודעה נשלחה</source>
        <translation>This is the text that says the message was sent</translation>
    </message>
    <message>
        <source>טקסט שאומר שההודעה נדחתה (לא חובה):</source>
        <translation>Text that says the message was refused (optional):</translation>
    </message>
    <message>
        <source>בדיקה</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>שמירה</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>סגירה</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>1. האתר אינו דורש כניסה.</source>
        <translation>1. The site needs no login.</translation>
    </message>
    <message>
        <source>1. כתבו למעלה את כתובת דף הכניסה של הספק, פתחו אותו והיכנסו כרגיל עם שם המשתמש והסיסמה שלכם.</source>
        <translation>1. Type the address of the provider&apos;s login page above, open it and log in as usual with your user name and password.</translation>
    </message>
    <message>
        <source>2. פתחו את דף שליחת ההודעות, מלאו את הטופס בערכים האלה ושלחו. המספר הוא שלכם, כדי שההודעה תגיע אליכם.</source>
        <translation>2. Open the page that sends messages, fill in the form with these values and send it. The number is yours, so the message comes to you.</translation>
    </message>
    <message>
        <source>3. בדף התוצאה סמנו בעכבר את הטקסט שאומר שההודעה נשלחה, ולחצו:</source>
        <translation>3. On the result page, select with the mouse the text that says the message was sent, and press:</translation>
    </message>
    <message>
        <source>טקסט ההצלחה: %1</source>
        <translation>Success text: %1</translation>
    </message>
    <message>
        <source>כתבו את הקידומת ואת המספר שלכם לפני שתמלאו את טופס ההודעה.</source>
        <translation>Type your area code and number before you fill in the message form.</translation>
    </message>
    <message>
        <source>בודק את ההגדרה; שום הודעה לא תישלח...</source>
        <translation>Checking the definition; no message will be sent...</translation>
    </message>
    <message>
        <source>כבר יש הגדרה בשם הזה (%1). להחליף אותה?</source>
        <translation>There already is a definition of this name (%1). Replace it?</translation>
    </message>
    <message>
        <source>ההגדרה נשמרה ב-%1</source>
        <translation>The definition was saved in %1</translation>
    </message>
    <message>
        <source>הבדיקה עברה: שליחה אמיתית תגיע עד שליחת טופס ההודעה.</source>
        <translation>The check passed: a real send will get as far as sending the message form.</translation>
    </message>
    <message>
        <source>הבדיקה נכשלה; השלב שנכשל מסומן למעלה.</source>
        <translation>The check failed; the failing step is marked above.</translation>
    </message>
    <message>
        <source>אם האתר שואל בדרך משהו שרק אדם יכול לענות (מילה בתמונה, קוד שנשלח לטלפון), ענו כרגיל: דפים אלה אינם נרשמים, ובכל שליחה התוכנה תציג לכם אותם כדי שתענו.</source>
        <translation>If the site asks on the way something only a person can answer (a word in a picture, a code sent to your phone), answer it as usual: such pages are not recorded, and at every send the program shows them to you to answer.</translation>
    </message>
    <message>
        <source>שמירת הכניסה</source>
        <translation>Kept login</translation>
    </message>
</context>
<context>
    <name>TeachSession</name>
    <message>
        <source>יש לתת לספק שם.</source>
        <translation>Give the provider a name.</translation>
    </message>
    <message>
        <source>יש לכתוב את הקידומות שהספק משרת.</source>
        <translation>Type the area codes the provider serves.</translation>
    </message>
    <message>
        <source>ההדגמה עדיין לא הגיעה לשליחת טופס ההודעה.</source>
        <translation>The demonstration has not yet reached sending the message form.</translation>
    </message>
    <message>
        <source>דף התוצאה עדיין לא נטען.</source>
        <translation>The result page has not loaded yet.</translation>
    </message>
    <message>
        <source>יש לסמן בדף התוצאה את הטקסט שאומר שההודעה נשלחה.</source>
        <translation>Mark the text on the result page that says the message was sent.</translation>
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
<context>
    <name>WelcomeBox</name>
    <message>
        <source>ברוכים הבאים ל-Zelkora</source>
        <translation>Welcome to Zelkora</translation>
    </message>
    <message>
        <source>התוכנה שולחת מסרונים דרך אתרי המפעילים, אבל עדיין אינה מכירה אף מפעיל. איך להתחיל?</source>
        <translation>The program sends text messages through the operators&apos; web sites, but it does not know any operator yet. How would you like to start?</translation>
    </message>
    <message>
        <source>ללמד את התוכנה מפעיל</source>
        <translation>Teach the program an operator</translation>
    </message>
    <message>
        <source>להראות לתוכנה פעם אחת איך שולחים הודעה באתר המפעיל שלך.</source>
        <translation>Show the program once how a message is sent on your operator&apos;s web site.</translation>
    </message>
    <message>
        <source>להזין כתובת שירות</source>
        <translation>Enter a service address</translation>
    </message>
    <message>
        <source>כתובת שירות ההגדרות שקיבלת, בהגדרות התוכנה.</source>
        <translation>The address of the definitions service you were given, in the program&apos;s preferences.</translation>
    </message>
    <message>
        <source>לנסות עם מפעילי ההדגמה</source>
        <translation>Try it with the demo operators</translation>
    </message>
    <message>
        <source>מפעילים מדומים על המחשב הזה בלבד: שום הודעה לא יוצאת מהמחשב. קשר (054) אינו דורש כניסה.</source>
        <translation>Simulated operators on this computer only: no message leaves it. Kesher (054) needs no login.</translation>
    </message>
    <message>
        <source>סגירה</source>
        <translation>Close</translation>
    </message>
</context>
</TS>
