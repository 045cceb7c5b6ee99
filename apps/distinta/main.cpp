// distinta: the bill-of-materials module. Started by the main menu:
//   distinta /M <menu socket> /P <program key>[ <extra text>] /F <form> [/I <main ini>] [/H <help file>]
#include "startup/distintaapp.h"
#include "apps/distinta/moduleforms.h"

int main(int argc, char **argv)
{
    return kem::RunDistinta(argc, argv, kem::RegisterModuleForms);
}
