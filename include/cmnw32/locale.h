/* Locales: the current locale and its settings, the default locale, the
 * locale registry and the mapping of locale names to ICU identifiers.
 *
 * A locale name is a short code such as "USD", "DEM" or "FRF" (46 are built
 * in; any other name takes the "USD" values changed by its own configuration
 * section). Names are compared without regard to letter case, except in the
 * registry. Texts in a LocaleSettings record are ISO 8859-1.
 *
 * Functions that take a locale argument (here and in the date, time, number
 * and mask families) ignore its first character: the remainder names the
 * locale, so callers write " DEM". An argument whose second character is the
 * NUL names no locale. A name that is neither built in nor configured is not
 * an error: it quietly takes the "USD" values; UTLGetLocaleOrigin tells such
 * a name apart.
 *
 * The current locale is process-wide. A call with a locale argument works
 * in the argument's locale for its whole span without making it current:
 * other threads are not affected, and on the calling thread UTLGetLocale
 * names the argument's locale until the call returns (as a notify function
 * called meanwhile sees it). A call without one works in the locale that
 * was current when it began, from start to end. Pointers handed out (names,
 * settings texts) stay owned by the library and stay readable for the life
 * of the process.
 *
 * Threads: UTLSetLocale, UTLGetLocale, UTLGetLocaleSettings, the default
 * locale functions and every call of another family, with or without a
 * locale argument, may run on any number of threads at once, also while
 * another thread changes the current locale; each call sees the old or the
 * new locale, never a mix. The first implicit choice of the current locale
 * is made once even when threads race to it. The registry (UTLInitLocale,
 * UTLTermLocale, UTLAddLocale, UTLFindLocale, UTLGetLocaleName) and
 * UTLSetDefICULocale belong to start-up or one thread at a time: the last
 * UTLTermLocale frees the entries other threads may hold handles to, and
 * the ICU id is one buffer rewritten in place. */
#ifndef CMNW32_LOCALE_H
#define CMNW32_LOCALE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Longest locale name the current locale keeps (characters); longer names
 * are cut to this length. Callers that save the current name need a buffer
 * of UTL_LOCALE_NAME_MAX + 1 bytes. */
#define UTL_LOCALE_NAME_MAX 7
/* Longest default locale name read from the configuration (characters). */
#define UTL_DEF_LOCALE_MAX 31
/* Size of the ICU locale id buffer; UTLSetDefICULocale cuts longer ids. */
#define UTL_ICU_ID_SIZE 64
/* Longest locale name UTLGetLocaleSettings distinguishes; longer names are
 * cut to this length (the settings cache keys names in 16 bytes). */
#define UTL_SETTINGS_NAME_MAX 15

/* The settings of one locale. Texts are NUL-terminated ISO 8859-1 in fixed
 * arrays (the size includes the terminator); bytes after a terminator are
 * zero. Field order and widths are part of the interface. Size: 568 bytes on
 * LP64 (560 with 4-byte pointers). */
typedef struct LocaleSettings {
    char decimalSep[2];        /* decimal separator, e.g. "." */
    char thousandSep[2];       /* thousands separator, e.g. "," */
    char currency[6];          /* currency symbol */
    char currencyPlacement[2]; /* "L": symbol before the amount, "R": after it */
    char crValue[4];           /* credit marker */
    char dbValue[4];           /* debit marker */
    char drValue[4];           /* second debit marker */
    char validChars[20];       /* characters allowed in a numeric field */
    char yesText[10];          /* word for yes */
    char noText[10];           /* word for no */
    char amText[4];            /* morning marker */
    char pmText[4];            /* afternoon marker */
    char monthName[12][20];    /* full month names, January first */
    char monthAbbrev[12][8];   /* month abbreviations, January first */
    char dayName[7][20];       /* day names, Sunday first */
    int32_t dateFormat;        /* default date format (49 = "1", 50 = "2") */
    int32_t paperSize;         /* default paper id (see paper.h) */
    const char *spellDict;     /* comma-separated spelling dictionary files;
                                  readable for the life of the process */
} LocaleSettings;

/* Opaque handle of a locale registry entry (pointer-sized). */
typedef struct UTLLocaleEntry *UTLLOCALE;

/* ---- settings ---------------------------------------------------------- */

/* Fills *settings completely with the settings of the locale named by
 * localeArg without its first character (" DEM"). The values come from the
 * built-in table (an unknown or empty name gets the "USD" values) and are
 * then overridden by the keys of the configuration section "Language:<name>"
 * (DecimalSep, ThousandSep, Currency, DBValue, DRValue, CRValue,
 * CurrencyPlacement, ValidChars, Yes, No, Sunday..Saturday,
 * January..December, Jan..Dec, AM, PM, PaperSize, DateFormat, SpellDict; the
 * key "May" sets both the full name and the abbreviation of May). Configured
 * texts are cut to the field width. Each named locale is built once per
 * process and then served from a cache keyed by the name without regard to
 * case; later configuration changes are not seen. Does nothing when either
 * argument is null; an empty localeArg names no locale. */
CMNW_API void UTLGetLocaleSettings(const char *localeArg, LocaleSettings *settings) CMNW_NOEXCEPT;

/* Where the settings of the locale named by localeArg without its first
 * character (" DEM") come from: UTL_LOCALE_BUILT_IN when the name is one of
 * the built-in locales, plus UTL_LOCALE_CONFIGURED when its section
 * "Language:<name>" in the configuration in force sets at least one of the
 * keys listed above. 0 means neither: the locale silently has the "USD"
 * values, which is what a misspelt name or a name without its marker byte
 * ("DEM" names "EM") gives. 0 for a null argument or one naming no locale. */
#define UTL_LOCALE_BUILT_IN 1
#define UTL_LOCALE_CONFIGURED 2
CMNW_API int32_t UTLGetLocaleOrigin(const char *localeArg) CMNW_NOEXCEPT;

/* ---- current locale ---------------------------------------------------- */

/* Makes name the current locale. An empty or null name chooses the
 * configured locale: on the first such call after load, UTLInitLocale or
 * UTLTermLocale the INI key "Language"/"Locale" is read again; on later ones
 * the default locale name of UTLGetDefLocale is taken. Without either,
 * "USD". A name equal to the current one without regard to case changes
 * nothing (the stored spelling stays). Names are cut to UTL_LOCALE_NAME_MAX
 * characters. */
CMNW_API void UTLSetLocale(const char *name) CMNW_NOEXCEPT;

/* The current locale name, never empty: when none has been chosen yet, it
 * first chooses one as UTLSetLocale("") does. During a call with a locale
 * argument on this thread (from a notify function), the argument's locale.
 * The text belongs to the library; another thread's UTLSetLocale does not
 * rewrite it, but a later UTLGetLocale may return another text. */
CMNW_API const char *UTLGetLocale(void) CMNW_NOEXCEPT;

/* ---- default locale ---------------------------------------------------- */

/* The default locale name: INI "Language"/"Locale", read on the first call
 * (and the first after UTLResetDefLocale) and kept. May be empty. */
CMNW_API const char *UTLGetDefLocale(void) CMNW_NOEXCEPT;

/* Forgets the default locale name and the three defaults derived from it, so
 * the next call of each reads the configuration again. */
CMNW_API void UTLResetDefLocale(void) CMNW_NOEXCEPT;

/* The dateFormat, paperSize and spellDict of the default locale's settings,
 * computed on first use and kept until UTLResetDefLocale. Each gives 0 (null)
 * when no default locale is configured. The current locale is not changed,
 * though one is chosen if none was. */
CMNW_API int32_t UTLGetDefDateFormat(void) CMNW_NOEXCEPT;
CMNW_API int32_t UTLGetDefPaperSize(void) CMNW_NOEXCEPT;
CMNW_API const char *UTLGetDefSpellDict(void) CMNW_NOEXCEPT;

/* ---- locale registry --------------------------------------------------- */

/* UTLInitLocale creates the registry (if needed) and counts one more user;
 * UTLTermLocale counts one user less and destroys the registry, with every
 * handle it gave out, when none is left. Both make the next UTLSetLocale("")
 * read the configuration again; neither changes the current locale. */
CMNW_API void UTLInitLocale(void) CMNW_NOEXCEPT;
CMNW_API void UTLTermLocale(void) CMNW_NOEXCEPT;

/* The handle of the registry entry equal to name (case-sensitive), or null
 * when there is none or no registry. */
CMNW_API UTLLOCALE UTLFindLocale(const char *name) CMNW_NOEXCEPT;

/* Adds a copy of name to the registry and returns its handle; an existing
 * entry's handle when name is already there. Null for a null or empty name,
 * without a registry, or when memory runs out. */
CMNW_API UTLLOCALE UTLAddLocale(const char *name) CMNW_NOEXCEPT;

/* The registry text of handle. For a null handle: the ICU default locale id
 * when wantDefault is non-zero, else null. While the default locale name is
 * empty (see UTLGetDefLocale), every call first refreshes the ICU default
 * locale id from ICU's process default. */
CMNW_API const char *UTLGetLocaleName(UTLLOCALE handle, int wantDefault) CMNW_NOEXCEPT;

/* Sets the ICU default locale id (cut to UTL_ICU_ID_SIZE - 1 characters); a
 * null id empties it. */
CMNW_API void UTLSetDefICULocale(const char *id) CMNW_NOEXCEPT;

/* Kept for compatibility: does nothing and returns 0. */
CMNW_API int32_t UTLMatchALocale(void) CMNW_NOEXCEPT;

/* ---- ICU identifiers --------------------------------------------------- */

/* Writes the ICU locale id the suite uses for the locale name (compared
 * without regard to case) into out: "en_US" for most, "en_GB" for GBP,
 * "fr_CA" for CAD, "fr" for FRF, FLX, CHH and BEF, "en" for NLG, AUD, CAN,
 * IEP, NZD and ZAR. An unknown or empty name gives "". The id is cut to
 * outSize - 1 characters and the rest of out is cleared. Nothing is written
 * when out is null or outSize is 0 or less. */
CMNW_API void UTLFMT2ICULocale(const char *name, char *out, int outSize) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
