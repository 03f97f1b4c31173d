// The entry function: builds the one GameApp, starts it, runs the loop, destroys it.
#include "shell/entry.h"
#include "shell/game_app.h"

int GameMain() {
    int exitCode = 0;
    bool saveNotWritten = false;
    {
        GameApp app;
        app.saveNotWritten = &saveNotWritten;
        if (plat::Failed(app.StartUp())) {
            app.Close();
            exitCode = 1;  // start-up failed: say so to whoever started us
        } else {
            exitCode = app.RunLoop();
        }
    }  // the destructor writes the save file, also after a failed start-up
    if (saveNotWritten && exitCode == 0) exitCode = 1;  // the player's photos were not kept: say so
    return exitCode;
}
