#include "platform/error_catching_application.h"

int main(int argc, char **argv)
{
    ErrorCatchingApplication app(argc, argv);
    return 0;
}
