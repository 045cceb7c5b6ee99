// distinta: the bill-of-materials module. Started by the main menu:
//   distinta /M <menu socket> /P <program key>[ <extra text>] /F <form> [/I <main ini>] [/H <help file>]
#include "startup/distintaapp.h"
#include "apps/distinta/moduleforms.h"

#include <csignal>

int main(int argc, char **argv)
{
    // A print file read through a FIFO whose reader goes away is a failed write, told as such.
    std::signal(SIGPIPE, SIG_IGN);
    return kem::RunDistinta(argc, argv, kem::RegisterModuleForms);
}
