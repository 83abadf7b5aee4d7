// The program's one application object, constructed before the entry point runs.
#include "app/ConverterApp.h"

ConverterApp theApp;
