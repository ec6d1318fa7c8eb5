// Lets a test act once another thread is really asleep in a wait, instead
// of sleeping for a while and hoping that it is.
#pragma once

#include <sys/types.h>

// The calling thread's kernel id.
pid_t CurrentThreadId();

// Waits (up to ten seconds) until the thread with kernel id Tid of this
// process sleeps in the kernel; false if it never did.
bool WaitUntilAsleep(pid_t Tid);
