<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="he_IL">
<context>
    <name>Contacts::PhoneBookSteps</name>
    <message>
        <source>כרטיסי אנשי קשר שלא ניתן היה לקרוא ולכן לא נטענו: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Contacts::VCardApplication</name>
    <message>
        <source>איש הקשר כבר נמחק</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין פריט מספר %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>תנאי החיפוש אינו מובן: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין תיקייה מספר %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין אפשרות לקרוא את תיקיית אנשי הקשר %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>תיקיית אנשי הקשר %1 לא נמצאה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין מרחב שמות בשם %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין אפשרות ליצור פריט מסוג %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Contacts::VCardContacts</name>
    <message>
        <source>נכשל הקישור לאנשי קשר מפנקס הכתובות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הקישור לתקיית אנשי קשר נכשל</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אנשי הקשר לא נשמרו בטבלה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין איש קשר בשם %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כרטיס איש הקשר %1 שונה בידי תוכנה אחרת מאז שנטען, ולכן השינוי לא נשמר. יש לטעון את אנשי הקשר מחדש.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>יש כמה אנשי קשר בשם %1, ואין דרך לדעת לאיזה מהם הכוונה; דבר לא נכתב. יש לטעון את אנשי הקשר מחדש.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Contacts::VCardFolder</name>
    <message>
        <source>אין אפשרות לקרוא את תיקיית אנשי הקשר %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>איש הקשר כבר נמחק</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כרטיס איש הקשר %1 נמחק בידי תוכנה אחרת מאז שנקרא; דבר לא נכתב.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כרטיס איש הקשר %1 שונה בידי תוכנה אחרת מאז שנקרא, ולכן השינוי לא נשמר. נסה שוב.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין אפשרות לכתוב את %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>השינוי בכרטיס %1 לא נשמר: הכרטיס לא נקרא כראוי לאחר השינוי.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין אפשרות למחוק את %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין אפשרות לכתוב את %1: הקובץ קיים</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כמה כרטיסי אנשי קשר בקובץ %1 נושאים אותו שם ואין להם מזהה, ולכן אי אפשר לדעת לאיזה מהם הכוונה; דבר לא נכתב.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Credentials</name>
    <message>
        <source>לא ניתן לקרוא את הסיסמה של %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, ולכן הסיסמה של %2 לא נמחקה ממנו.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, ולכן הסיסמה של %2 לא נשמרה בו.
לשמור אותה בקובץ SMS.INI, כטקסט גלוי? אם לא, היא תישמר בזיכרון עד סיום התוכנית.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, ולכן הסיסמאות לא הועברו אליו. הן נשארות בקובץ SMS.INI.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, ולכן לא ניתן להחזיר לקובץ SMS.INI את הסיסמאות השמורות בו.
להפסיק בכל זאת לשמור סיסמאות במחזיק המפתחות? את הסיסמאות השמורות בו יהיה צריך להקליד שוב.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הסיסמאות הועתקו לקובץ SMS.INI, אך לא נמחקו ממחזיק המפתחות: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DefinitionCheck</name>
    <message>
        <source>כאן שליחה אמיתית הייתה שולחת את טופס ההודעה; דבר לא נשלח</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין בו שדות עם שם</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שדותיו: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין טופס בשם או במספר %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין בטופס שדה %1; %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לחיצה על הקישור אל %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין בדף קישור אל %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לחיצה על %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין בטופס פקד %1; %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הטופס נשלח כמות שהוא</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לחיצה על הפקד בשם SUBMIT, עם הערך %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין בטופס פקד בשם SUBMIT; %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההגדרה אינה מציינת דרך לשלוח את הטופס (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין טפסים בדף</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הטפסים בדף: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>; מספר המסגרות בדף: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הרשימה אינה מציעה %1 (היא מציעה %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>איש לא ענה על דף האתר תוך %1 שניות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין מפעיל לקידומת %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 משרת את הקידומת %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שם משתמש וסיסמה של %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא ניתן לטעון את הדפדפן המובנה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שום דף של האתר לא נטען במקום %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>נטען בכתובת %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הדף שנטען הוא %1, לא %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מסגרת %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין בדף מסגרת %1 שיש בה מסמך (מספר המסגרות בדף: %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>האתר מציג קודם את %1, שרק אדם יכול לענות עליו: עננו עליו בחלון שלו</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>נטען בכתובת %1 אחרי תשובת האדם</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>דף האתר לא נענה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>תהליך התצוגה של הדף הסתיים</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אף דף לא נטען עד סופו תוך %1 שניות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>דף ההודעה נפתח שוב בלי כניסה נוספת: הנמענים הבאים ברשימה לא ייכנסו שוב</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>האתר מבקש כניסה לפני כל הודעה: כל נמען ברשימה ייכנס מחדש</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DefinitionFile</name>
    <message>
        <source>הערך של %1 (%2) מכיל מירכאות או גרש, וקובץ הגדרות אינו יכול לשמור אותם.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ברשימת הקידומות של האתר מופיע &quot;%1&quot;, וקובץ הגדרות אינו יכול לשמור רווחים, פסיקים או מירכאות בערך של קידומת.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא ניתן ליצור את התיקייה %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא ניתן לכתוב את הקובץ %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>קובץ ההגדרה לא ייקרא כפי שנכתב: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>קובץ ההגדרה לא ייקרא כפי שנכתב: נמצאו בו %1 ספקים.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הערך של %1 לא ייקרא מקובץ ההגדרה כפי שנכתב.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>רשימת הקידומות לא תיקרא מקובץ ההגדרה כפי שנכתבה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הערך של %1 מכיל את שם המשתמש או את הסיסמה שלך, וקובץ הגדרות אינו שומר אותם.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DemoOperators</name>
    <message>
        <source>לא ניתן להפעיל את %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>התוכנה %1 הסתיימה לפני שהתחילה לפעול</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>התוכנה %1 לא ענתה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>התוכנה %1 לא נמצאה; היא באה עם החבילה של Zelkora</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>התוכנה %1 לא אמרה היכן היא מאזינה</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DemoRun</name>
    <message>
        <source>שלום! זו הודעת ניסיון דרך מפעילי ההדגמה.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Demonstration</name>
    <message>
        <source>הטופס פותח את התשובה בחלון חדש, והתוכנה אינה יכולה להמשיך אחריו.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 נמצא במסגרת של אתר אחר (%2), והתוכנה אינה יכולה להגיע אליו.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 נמצא במסגרת שבתוך מסגרת אחרת; התוכנה מגיעה רק למסגרות של הדף עצמו.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>טופס הכניסה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא נראתה הקלדה של שם משתמש בטופס הכניסה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא נראתה הקלדה של סיסמה בטופס הכניסה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לשדה בטופס הכניסה שבו הקלדת אין שם, והתוכנה מוצאת שדות לפי שמם.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>טופס ההודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>טופס ההודעה הופיע בלי שדף חדש נטען אחרי הכניסה (האתר החליף את תוכן הדף בסקריפט); התוכנה ממשיכה רק מדף שנטען.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אחרי הכניסה האתר פתח את %1, אבל טופס ההודעה שמילאת היה בדף %2 שהגעת אליו משם. התוכנה יכולה למלא רק את הדף שהכניסה מובילה אליו.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לשדה שבו הקלדת את %1 אין שם, והתוכנה מוצאת שדות לפי שמם.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 הגיע לאתר דרך שדה שסקריפט של האתר מילא (%2); התוכנה אינה מריצה סקריפטים כאלה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההודעה לדוגמה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההודעה לדוגמה (%1) לא נמצאה בטופס שנשלח.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>האתר שינה את מה שהקלדת בשדה %1 לפני השליחה; הוא זקוק לסקריפט שהתוכנה אינה מריצה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שם השולח</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הקידומת</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>המספר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>המספר לדוגמה (%1) לא נמצא בטופס שנשלח.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הטקסט שסימנת אינו בדף שבו הופיעה התוצאה; התוכנה מחפשת את התוצאה רק בטקסט של החלון שאליו נשלח הטופס.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>אירעה שגיאה לא צפויה</source>
        <translation type="unfinished"></translation>
    </message>
</context>
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
    <name>HistoryRecorder</name>
    <message>
        <source>השליחה כבר אינה ממתינה בתור: תוכנה אחרת לקחה אותה</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>לא נשלחה: השליחה נקטעה לפני תורה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההיסטוריה אינה פתוחה</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מחזיק המפתחות של שולחן העבודה אינו זמין (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מחזיק המפתחות של שולחן העבודה סירב לבקשה (%1)</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההגדרות לא נשמרו: %1</source>
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
    <name>MissedSendsDialog</name>
    <message>
        <source>הודעות שמועדן עבר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>נמען</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מועד</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מה לעשות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שמור לאחר כך</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שלח עכשיו</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>בטל</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מועד השליחה של ההודעות האלה עבר כשהתוכנה לא פעלה. מה לעשות בכל אחת?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מועד השליחה:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PersonPageWindow</name>
    <message>
        <source>אתר המפעיל זקוק לך: ענה לו כאן; השליחה תימשך כשדף ההודעה ייפתח</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;בטל</source>
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
        <translation type="vanished">לא ניתן לקרוא את הקובץ %1: %2</translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>התוכנה כבר פועלת עבור הקבצים שב-%1</source>
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
    <message>
        <source>לא התקבל אישור מהאתר: ייתכן שההודעה נשלחה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אתר המפעיל ממתין לך...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SendFailure</name>
    <message>
        <source>האתר השיב בשגיאה (HTTP %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא ניתן להגיע לאתר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא ניתן להגיע לאתר (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>האתר ביקש להתחבר מחדש במקום לקבל את ההודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>האתר דחה את הכניסה: בדקו את שם המשתמש והסיסמה בהגדרות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>בדף האתר אין הטופס &quot;%1&quot; שבהגדרת המפעיל</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>האתר לא ענה תוך %1 שניות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>השליחה בוטלה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההודעה יצאה, ודפי האתר לא אמרו דבר עליה תוך %1 שניות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין מפעיל לקידומת %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>חסרים שם משתמש וסיסמה של %1 בהגדרות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הדפדפן נעצר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הדף שהאתר הציג לא נענה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>האתר הציג דף אחר מזה שבהגדרת המפעיל (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>בדף ההודעה אין דרך לשלוח את הטופס כפי שהגדרת המפעיל אומרת</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>דף הכניסה עבר אל %1, ופרטי הכניסה לא נשלחו לשם</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הגדרת המפעיל אינה מציינת טקסט שמאשר את השליחה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא ניתן לקרוא את דף האתר (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SendQueue</name>
    <message>
        <source>ההיסטוריה לא יכלה לרשום את תוצאת השליחה: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ייתכן שההודעה כבר נשלחה ל-%1 מהנמענים (לא התקבל אישור מהאתר). לשלוח גם אליהם?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 נמענים שייתכן שכבר קיבלו את ההודעה לא נכללו</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SendWorkflow</name>
    <message>
        <source>לא ניתן לרשום את השליחה בהיסטוריה, ולכן לא נשלח דבר: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>דף הכניסה של %1 עבר אל %2%3. להשתמש שם בפרטי הכניסה שלך ל-%1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (http: לא מוצפן, כל מי שבדרך יכול לקרוא)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>פרטי הכניסה של %1 לא נשלחו: דף הכניסה עבר אל %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ServiceConnection</name>
    <message>
        <source>Problems in the local provider definitions:</source>
        <translation>בעיות בהגדרות הספקים המקומיות:</translation>
    </message>
</context>
<context>
    <name>StatusDisplay</name>
    <message>
        <source>המתן...</source>
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
    <name>THalvernLanguage</name>
    <message>
        <source>לא ניתן לטעון את קובץ השפה %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>THistoryForm</name>
    <message>
        <source>היסטוריית שליחה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>חיפוש לפי שם, מספר או טקסט</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>רק מה שלא נשלח</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שלח שוב</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שלח שוב למי שלא קיבל</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שנה מועד...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>בטל שליחה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ייצוא ל-CSV...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>זמן</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>נמען</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מספר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ספק</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מצב</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אושר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מתוזמן ל-%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שינוי מועד</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההודעה כבר אינה ממתינה לשליחה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לבטל את שליחת ההודעה ל-%1 ב-%2?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ייצוא ל-CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>קובצי CSV (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הקובץ %1 לא נכתב: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 רשומות נכתבו אל %2</source>
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
        <source>לימוד ספק חדש...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שליחה במועד מאוחר...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>היסטוריה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שליחה במועד מאוחר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההודעה תישלח ב-%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שליחה הבאה: %1, אל %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין עדיין ספקים: יש ללמד את התוכנה מפעיל או להזין כתובת שירות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מפעילי הדגמה: שום הודעה לא יוצאת מהמחשב</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מפעילי ההדגמה עולים...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא ניתן להפעיל את מפעילי ההדגמה: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אין הגדרות ספקים</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מתחבר לשירות...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>עובד מהגדרות שמורות או משלך</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הגדרות מהשירות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>קידומת</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שלח</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Enter שולח מכל שדה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>בחירת קידומת</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt+חץ למטה פותח את רשימת הקידומות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>נורית: אין הגדרות זמינות או אין חיבור</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>נורית: עובד מההגדרות השמורות או מתחבר לשירות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>נורית: מחובר, ההגדרות מהשירות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שורת מצב</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>פרסומת</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההודעה: %1 מתוך %2 תוים</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>פרסומת: %1, פותחת את הדף שלה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שליחה מתוזמנת אל %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא נמצאה תוכנת דואר שתפתח את ההודעה. אפשר להמליץ לחברים על Zelkora בכתובת %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>נסו עם מפעילי ההדגמה</source>
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
        <source>נכשל הקישור לאנשי קשר מפנקס הכתובות</source>
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
        <source>אנשי קשר מפנקס הכתובות</source>
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
        <source>שגיאה באנשי קשר מפנקס הכתובות</source>
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
        <source>&amp;סגור</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שלח שוב למי שלא קיבל</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מצב השליחה לכל נמען</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;עצור את השליחה</source>
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
        <source>הפעל אוטומטית עם תחילת ההפעלה של שולחן העבודה</source>
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
    <message>
        <source>שמור היסטוריה של:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כל הזמן</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> ימים</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שמור סיסמאות במחזיק המפתחות של שולחן העבודה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כתובת השירות:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כתובת השירות צריכה להתחיל ב-http:// או ב-https://, למשל https://example.org/sms</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TProgressForm</name>
    <message>
        <source>טעינת אנשי קשר מפנקס הכתובות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מתנתק מפנקס הכתובות...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TTeachForm</name>
    <message>
        <source>ספק</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>פרטי כניסה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הדפדפן</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>גישה לדף</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>דף הכניסה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מסגרת דף הכניסה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>טופס הכניסה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שדה שם המשתמש</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שדה הסיסמה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שליחת טופס הכניסה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>דף ההודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מסגרת דף ההודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>טופס ההודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שדה השולח</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שדה הקידומת</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>בחירת הקידומת</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שדה המספר</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שדה ההודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שליחת טופס ההודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לימוד ספק חדש</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>חזרה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>רענון</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כתובת דף הכניסה של הספק</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לא ניתן לטעון את הדפדפן המובנה, ולכן אי אפשר להדגים שליחה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הראו לתוכנה פעם אחת איך שולחים הודעה באתר של הספק, והיא תכתוב את ההגדרה בעצמה, תבדוק אותה ותשתמש בה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שם הספק:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הקידומות שהוא משרת:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>האתר אינו דורש כניסה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שם השולח:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הקידומת שלכם:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>המספר שלכם:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההודעה:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>האתר מקבל שורות חדשות בהודעה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>זה הטקסט שאומר שההודעה נשלחה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>טקסט שאומר שההודעה נדחתה (לא חובה):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>בדיקה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שמירה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>סגירה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1. האתר אינו דורש כניסה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1. כתבו למעלה את כתובת דף הכניסה של הספק, פתחו אותו והיכנסו כרגיל עם שם המשתמש והסיסמה שלכם.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2. פתחו את דף שליחת ההודעות, מלאו את הטופס בערכים האלה ושלחו. המספר הוא שלכם, כדי שההודעה תגיע אליכם.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3. בדף התוצאה סמנו בעכבר את הטקסט שאומר שההודעה נשלחה, ולחצו:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>טקסט ההצלחה: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כתבו את הקידומת ואת המספר שלכם לפני שתמלאו את טופס ההודעה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>בודק את ההגדרה; שום הודעה לא תישלח...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כבר יש הגדרה בשם הזה (%1). להחליף אותה?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההגדרה נשמרה ב-%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הבדיקה עברה: שליחה אמיתית תגיע עד שליחת טופס ההודעה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>הבדיקה נכשלה; השלב שנכשל מסומן למעלה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>אם האתר שואל בדרך משהו שרק אדם יכול לענות (מילה בתמונה, קוד שנשלח לטלפון), ענו כרגיל: דפים אלה אינם נרשמים, ובכל שליחה התוכנה תציג לכם אותם כדי שתענו.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>שמירת הכניסה</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TeachSession</name>
    <message>
        <source>יש לתת לספק שם.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>יש לכתוב את הקידומות שהספק משרת.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ההדגמה עדיין לא הגיעה לשליחת טופס ההודעה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>דף התוצאה עדיין לא נטען.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>יש לסמן בדף התוצאה את הטקסט שאומר שההודעה נשלחה.</source>
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
<context>
    <name>WelcomeBox</name>
    <message>
        <source>ברוכים הבאים ל-Zelkora</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>התוכנה שולחת מסרונים דרך אתרי המפעילים, אבל עדיין אינה מכירה אף מפעיל. איך להתחיל?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ללמד את התוכנה מפעיל</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>להראות לתוכנה פעם אחת איך שולחים הודעה באתר המפעיל שלך.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>להזין כתובת שירות</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>כתובת שירות ההגדרות שקיבלת, בהגדרות התוכנה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>לנסות עם מפעילי ההדגמה</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>מפעילים מדומים על המחשב הזה בלבד: שום הודעה לא יוצאת מהמחשב. קשר (054) אינו דורש כניסה.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>סגירה</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
