/* examples/form_check.c: checks the records of a form typed under several
 * locales and writes them back in canonical form.
 *
 *     form_check CONFIG.ini RECORDS.csv
 *
 * RECORDS.csv is UTF-8, fields separated by ";" (amounts hold commas):
 * locale;date;time;amount;answer. Each record is printed on standard output
 * with its fields rewritten in the form's layout and the record's locale;
 * a field that does not pass is printed as typed and the problem goes to the
 * trace log. The layout (date and time descriptors, numeric picture) and
 * the trace file come from the configuration. Exit status 1 when a record
 * had a problem. */
#include <cmnw32.h>
#include <stdio.h>
#include <string.h>

enum { kField = 64 };

typedef struct {
    char date[kField], time[kField], picture[kField];
} Layout;

static int problems;

/* Notes a problem in the trace log (never on standard output: that is the
 * program's data). */
static void Problem(int line, const char *field, const char *text, const char *why) {
    UTLLogTrace("form_check: line %d: %s \"%s\" %s", line, field, text, why);
    ++problems;
}

/* Writes the code page 1252 text as UTF-8. */
static void PutUtf8(const char *text, const char *end) {
    char out[4 * kField];
    const char *src = text;
    char *dst = out;
    AnsiToUtf8Ex(&src, text + strlen(text), &dst, out + sizeof out - 1, 1);
    *dst = '\0';
    fputs(out, stdout);
    fputs(end, stdout);
}

static void CheckRecord(int line, char *fields[5], const Layout *form) {
    char localeArg[kField];
    snprintf(localeArg, sizeof localeArg, " %s", fields[0]); /* marker byte first */
    if (UTLGetLocaleOrigin(localeArg) == 0)
        Problem(line, "locale", fields[0], "is unknown: USD values used");

    char date[kField];
    snprintf(date, sizeof date, "%s", fields[1]);
    if (FMTIntlValDate(date, sizeof date, form->date, localeArg) != 0) {
        Problem(line, "date", fields[1], "is not a date");
        snprintf(date, sizeof date, "%s", fields[1]);
    }

    char time[kField];
    snprintf(time, sizeof time, "%s", fields[2]);
    if (FMTValTime(time, sizeof time, form->time) != 0)
        Problem(line, "time", fields[2], "is not a time");

    /* Amount: typed in the locale's style, read back to a plain number,
     * fitted into the canonical picture, shown in the locale's style. */
    char amount[kField], shown[kField];
    snprintf(amount, sizeof amount, "%s", fields[3]);
    FMTDeformatNum(amount, localeArg);
    char picture[kField];
    snprintf(picture, sizeof picture, "%s", form->picture);
    int rc = amount[0] == '\0' ? 1 : FMTValNumFormat((int)strlen(picture), picture, amount);
    if (rc == 0) {
        FMTConvertNumFormat(amount, localeArg, sizeof shown - 1, shown);
    } else {
        Problem(line, "amount", fields[3], rc == 2 ? "is too large" : "is not an amount");
        snprintf(shown, sizeof shown, "%s", fields[3]);
    }

    int answer = UTLGetValidYesNo((unsigned char)fields[4][0], NULL, localeArg);
    if (answer == 0) Problem(line, "answer", fields[4], "is neither yes nor no");

    PutUtf8(fields[0], ";");
    PutUtf8(date, ";");
    PutUtf8(time, ";");
    PutUtf8(shown, ";");
    printf("%c\n", answer != 0 ? answer : '?');
}

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: form_check CONFIG.ini RECORDS.csv\n");
        return 2;
    }
    /* Load the configuration before the first trace line: the trace file is
     * chosen when the first line is written. */
    if (CFGLoadINI(argv[1]) == 0) {
        fprintf(stderr, "form_check: cannot read %s\n", argv[1]);
        return 2;
    }
    UTLResetDebug(); /* reads [Debug_Switches], PrintTimeStamp among them */
    Layout form;
    CFGGetStringDef("FormCheck", "DateFormat", form.date, sizeof form.date, "1/4");
    CFGGetStringDef("FormCheck", "TimeFormat", form.time, sizeof form.time, "1:");
    CFGGetStringDef("FormCheck", "Picture", form.picture, sizeof form.picture, "ZZZ,ZZ9.99");
    if (FMTValidNumericFormat(form.picture) != 0) {
        fprintf(stderr, "form_check: bad picture %s\n", form.picture);
        return 2;
    }

    FILE *records = fopen(argv[2], "r");
    if (records == NULL) {
        perror(argv[2]);
        return 2;
    }
    char text[512];
    for (int line = 1; fgets(text, sizeof text, records) != NULL; ++line) {
        text[strcspn(text, "\r\n")] = '\0';
        if (line == 1) continue; /* the header */
        text[UTLUtf8ToAnsi(text, (int32_t)strlen(text))] = '\0';
        char *fields[5];
        int n = 0;
        for (char *p = text; n < 5; ++n) {
            fields[n] = p;
            p += strcspn(p, ";");
            if (*p == '\0') break;
            *p++ = '\0';
        }
        if (n != 4) {
            Problem(line, "record", text, "does not have five fields");
            continue;
        }
        CheckRecord(line, fields, &form);
    }
    fclose(records);
    if (problems > 0) /* the default notify prints on standard error */
        UTLPlatformError("form_check", 0, (uint32_t)problems, "problems found: see the trace log");
    return problems > 0 ? 1 : 0;
}
