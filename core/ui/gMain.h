#pragma once

// The start procedure; also how the program restarts itself after a change of
// the profile or the user folder.
void Main();
