#pragma once

// Waits ms milliseconds. On the window thread the wait keeps the program alive: it
// processes pending events between 1 ms sleeps until the time has passed (Delay(0)
// processes them once). On any other thread it is one plain sleep.
void Delay(int ms);
