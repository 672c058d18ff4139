/* examples/file_stamp.c: prints a stamp line for each file: CRC-32, the
 * CRC name, the file type, Base64 of the first bytes and the hextime of the
 * file's change time (or of the time given with -t). A lock file keeps a
 * second copy from stamping at the same time.
 *
 *     file_stamp [-t SECONDS] FILE...
 */
#include <cmnw32.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

static void Stamp(const char *path, long fixedTime) {
    const char *name = strrchr(path, '/') != NULL ? strrchr(path, '/') + 1 : path;

    /* An unreadable file and an empty one both give the seed back; errno
     * tells them apart (0 after a file read to its end). */
    errno = 0;
    uint32_t crc = ~UTLCaclulateFileCRC32(path, 0xFFFFFFFFu);
    if (errno != 0) {
        printf("%s: unreadable (%s)\n", name, strerror(errno));
        return;
    }
    char crcName[8];
    UTLMakeCRCName(crcName, crc);

    unsigned char head[12] = {0};
    size_t got = 0;
    FILE *file = SYSfopen(path, "rb");
    if (file != NULL) {
        got = SYSfread(head, 1, sizeof head, file);
        SYSfclose(file);
    }
    char base64[4 * ((sizeof head + 2) / 3) + 1];
    base64[UTLEncodeBase64(head, (uint32_t)got, base64)] = '\0';

    struct stat st;
    long when = fixedTime != 0 ? fixedTime : (stat(path, &st) == 0 ? (long)st.st_mtime : 0);
    char hextime[9];
    FMTFillHEXTime(hextime, when);

    printf("%s: crc=%08lX name=%s type=%d head=%s hextime=%s\n", name, (unsigned long)crc, crcName,
           (int)UTLFileType(path), base64, hextime);
}

int main(int argc, char **argv) {
    long fixedTime = 0;
    int first = 1;
    if (argc > 2 && strcmp(argv[1], "-t") == 0) {
        fixedTime = strtol(argv[2], NULL, 10);
        first = 3;
    }
    /* The lock file is file_stamp.lck in the current folder. */
    if (UTLLockFileExt("file_stamp.dat") != 0) {
        if (errno == EEXIST)
            fprintf(stderr, "file_stamp: another copy is running\n");
        else
            fprintf(stderr, "file_stamp: cannot take the lock: %s\n", strerror(errno));
        return 2;
    }
    /* What a second copy would see now. */
    int second = UTLLockFileExt("file_stamp.dat");
    printf("second copy: %s\n", second != 0 && errno == EEXIST ? "refused (EEXIST)" : "admitted?");

    for (int i = first; i < argc; ++i) Stamp(argv[i], fixedTime);
    UTLUnLockFileExt("file_stamp.dat");
    return 0;
}
