/* An example plug-in, built in three variants for the tests:
 *   ALPHA  reports "ZD", offers Reverse and Join through its name table;
 *   BETA   reports "zd", exports Join (with a different result), Count and Tally (which keeps
 *          state while the library stays loaded), offers no names;
 *   OTHER  reports another system's name, so the player unloads it.
 * Build: cc -shared -fPIC -o example.plg ExamplePlugIn.c
 */
#include <stdio.h>
#include <string.h>

#define RESULT_SIZE 256

#if defined(ALPHA)
#define SYSTEM_NAME "ZD"
#elif defined(BETA)
#define SYSTEM_NAME "zd"
#else
#define SYSTEM_NAME "Other"
#endif

/* Tells the player which system the plug-in belongs to. */
void PlugIn(char* first, char* second)
{
    (void)first;
    snprintf(second, RESULT_SIZE, "%s", SYSTEM_NAME);
}

#if defined(ALPHA)
/* The names offered to the script builder, each ended by a NUL, then an empty name. */
const char PlugInNames[] = "Reverse\0Join\0";

void Reverse(const char* first, const char* second, char* result)
{
    size_t n = strlen(first);
    (void)second;
    if (n >= RESULT_SIZE)
        n = RESULT_SIZE - 1;
    for (size_t i = 0; i < n; ++i)
        result[i] = first[n - 1 - i];
    result[n] = '\0';
}

void Join(const char* first, const char* second, char* result)
{
    snprintf(result, RESULT_SIZE, "%s+%s", first, second);
}
#elif defined(BETA)
void Join(const char* first, const char* second, char* result)
{
    snprintf(result, RESULT_SIZE, "beta %s %s", first, second);
}

void Count(const char* first, const char* second, char* result)
{
    snprintf(result, RESULT_SIZE, "%zu", strlen(first) + strlen(second));
}

/* Counts its calls since the library was loaded. */
void Tally(const char* first, const char* second, char* result)
{
    static unsigned calls;
    (void)first;
    (void)second;
    snprintf(result, RESULT_SIZE, "%u", ++calls);
}
#else
void Reverse(const char* first, const char* second, char* result)
{
    (void)first;
    (void)second;
    snprintf(result, RESULT_SIZE, "not ours");
}
#endif
