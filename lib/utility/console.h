// Console and process helpers of the utility unit: the platform flavour's
// printf, standard-input reads, the busy wait and the temporary directory.
#ifndef CLUSTERKIT_CONSOLE_H
#define CLUSTERKIT_CONSOLE_H

/// Accepts printf arguments and prints nothing.
void myPrintf(const char *format, ...);

/// Reads one line (at most 255 characters, newline kept when it fits) from
/// standard input into buf (at least 256 characters); fails at end of input.
void myGets(char *buf);

/// Prints "Hit RETURN to continue ..." and returns one character read from
/// standard input (EOF at end of input).
int pauseForInput();

/// Busy-waits for the given processor time (seconds * 1000000 in single
/// precision, truncated, in clock ticks); returns at once for 0 or less and
/// for NaN. A wait beyond the clock's range saturates, so it never ends.
void sleep(float seconds);

/// Writes "/tmp" into dir (at least 5 characters).
void getTempDir(char *dir);

/// printf on the console of this build's platform flavour: the host window in
/// macOS builds, the process's standard output in Linux builds. Used by the
/// clusterkit unit and the gateways for their formatted printing.
int platformPrintf(const char *format, ...) __attribute__((format(printf, 1, 2)));

#endif // CLUSTERKIT_CONSOLE_H
