// Where the printer product keeps its registry tree, below HKEY_LOCAL_MACHINE: the one
// place its own pieces and the converter program, which reads the tree, take it from.
#pragma once

#define QUILLON_PRODUCT_KEY "SOFTWARE\\VeltraneSystems\\Quillon"
