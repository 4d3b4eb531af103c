/* The tables a keyboard-layout library hands the system through
   KbdLayerDescriptor, written from the platform's documentation of the
   format. The generated driver sources (tools/layouts/driver_source.py) fill
   them, and the driver tests read them back. Pointers have the width of the
   image: an x64 driver's tables hold 64-bit pointers. */
#ifndef LAYOUT_DRIVER_H
#define LAYOUT_DRIVER_H

#include <stdint.h>

typedef uint16_t LAYOUT_WCHAR;

/* Flag bits beside a scan code's virtual key. */
#define KBDEXT 0x100
#define KBDMULTIVK 0x200
#define KBDSPECIAL 0x400
#define KBDNUMPAD 0x800

/* Modifier bits, and the column number that marks a combination without
   characters. */
#define KBDSHIFT 0x1
#define KBDCTRL 0x2
#define KBDALT 0x4
#define SHFT_INVALID 0x0F

/* Attributes of a character row. */
#define CAPLOK 0x01
#define CAPLOKALTGR 0x04

/* Character cells that are not characters. */
#define WCH_NONE 0xF000
#define WCH_DEAD 0xF001

/* The virtual key of the row after a dead key's row, which holds the
   accents. */
#define VK_DEAD_ROW 0xFF

#define KLLF_ALTGR 0x0001
#define KBD_VERSION 1
/* The enhanced 101/102-key keyboard. */
#define KBD_TYPE_ENHANCED 4

typedef struct {
    uint8_t Vk;
    uint8_t ModBits;
} VK_TO_BIT;

typedef struct {
    VK_TO_BIT *pVkToBit;
    uint16_t wMaxModBits;
    uint8_t ModNumber[8];
} MODIFIERS;

typedef struct {
    uint8_t VirtualKey;
    uint8_t Attributes;
    LAYOUT_WCHAR wch[1];
} VK_TO_WCHARS1;

typedef struct {
    uint8_t VirtualKey;
    uint8_t Attributes;
    LAYOUT_WCHAR wch[2];
} VK_TO_WCHARS2;

typedef struct {
    uint8_t VirtualKey;
    uint8_t Attributes;
    LAYOUT_WCHAR wch[3];
} VK_TO_WCHARS3;

typedef struct {
    uint8_t VirtualKey;
    uint8_t Attributes;
    LAYOUT_WCHAR wch[5];
} VK_TO_WCHARS5;

typedef struct {
    VK_TO_WCHARS1 *pVkToWchars;
    uint8_t nModifications;
    uint8_t cbSize;
} VK_TO_WCHAR_TABLE;

typedef struct {
    uint32_t dwBoth; /* next character in the low half, accent in the high */
    LAYOUT_WCHAR wchComposed;
    uint16_t uFlags;
} DEADKEY;

typedef struct {
    uint8_t vsc;
    LAYOUT_WCHAR *pwsz;
} VSC_LPWSTR;

typedef struct {
    uint8_t Vsc;
    uint16_t Vk;
} VSC_VK;

typedef struct {
    MODIFIERS *pCharModifiers;
    VK_TO_WCHAR_TABLE *pVkToWcharTable;
    DEADKEY *pDeadKey;
    VSC_LPWSTR *pKeyNames;
    VSC_LPWSTR *pKeyNamesExt;
    LAYOUT_WCHAR **pKeyNamesDead;
    uint16_t *pusVSCtoVK;
    uint8_t bMaxVSCtoVK;
    VSC_VK *pVSCtoVK_E0;
    VSC_VK *pVSCtoVK_E1;
    uint32_t fLocaleFlags;
    uint8_t nLgMax;
    uint8_t cbLgEntry;
    void *pLigature;
    uint32_t dwType;
    uint32_t dwSubType;
} KBDTABLES;

#endif
