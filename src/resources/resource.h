#pragma once
#define IDB_QOR_LOGO 100
