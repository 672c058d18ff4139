/* examples/hello.c */
#include <cmnw32.h>
#include <stdio.h>

int main(void) {
    const UTLVersionRec *v = UTLLibVersion();
    printf("CMNW32 %s\n", v->version);
    printf("message 5: %s\n", UTLErrorMsg(5));
    UTLLogTrace("hello from %s", "C"); /* appends to ./trace */
    return 0;
}
