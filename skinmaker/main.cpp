#include "skinmaker/skinmaker.h"

int main(int argc, char *argv[])
{
    skinmaker::run(argc, argv);
}
