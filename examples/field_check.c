/* examples/field_check.c: a date, a time, an amount and a yes/no answer,
 * typed by a German user in UTF-8, checked and rewritten for a form. */
#include <cmnw32.h>
#include <stdio.h>
#include <string.h>

/* The library's texts are code page 1252: narrow UTF-8 input in place ... */
static void FromUtf8(char *text) {
    text[UTLUtf8ToAnsi(text, (int32_t)strlen(text))] = '\0';
}

/* ... and widen results to print them as UTF-8. */
static const char *ToUtf8(const char *text, char *out, size_t size) {
    const char *src = text;
    char *dst = out;
    AnsiToUtf8Ex(&src, text + strlen(text), &dst, out + size - 1, 1);
    *dst = '\0';
    return out;
}

int main(void) {
    const char *locale = " DEM"; /* first byte ignored: " DEM", never "DEM" */
    char shown[64];

    /* A date: parsed under the locale's month names, rewritten in the
     * descriptor's canonical form ("J4": day, month name, four-digit year). */
    char date[64] = "3 M\xC3\xA4rz 2008";
    FromUtf8(date);
    int rc = FMTIntlValDate(date, sizeof date, "J4", locale);
    printf("date   %d [%s]\n", rc, ToUtf8(date, shown, sizeof shown));

    /* A time ("3:" is HH:MM, 24-hour); times take no locale. */
    char time[12] = "9.30";
    rc = FMTValTime(time, sizeof time, "3:");
    printf("time   %d [%s]\n", rc, time);

    /* An amount typed the German way: read back to a plain number, fitted
     * into the canonical picture, then shown in the locale's presentation. */
    char amount[40] = "1.234,5";
    FMTDeformatNum(amount, locale);
    printf("plain     [%s]\n", amount);
    rc = FMTValNumFormat(10, "$ZZ,ZZ9.99", amount); /* a constant picture is safe */
    printf("fitted %d [%s]\n", rc, amount);
    FMTConvertNumFormat(amount, locale, sizeof shown - 1, shown);
    printf("shown     [%s]\n", ToUtf8(shown, date, sizeof date));

    /* A yes/no answer: "j" is the first letter of "Ja". */
    printf("yes/no    [%c]\n", UTLGetValidYesNo('j', NULL, locale));
    printf("unknown   %d\n", UTLGetLocaleOrigin("DEM")); /* "EM": falls back */
    return 0;
}
