#ifndef BATCH_RENAME_RESOURCE_IDS_H
#define BATCH_RENAME_RESOURCE_IDS_H

// Resource ids shared by resources.rc and the code: plain macros and include
// guards, which the resource compilers read too.
#define IDI_PROGRAM 1
#define IDB_ABOUT_LOGO 201

#endif
