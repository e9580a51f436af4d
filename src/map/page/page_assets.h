#pragma once
// The fixed parts of the map page: its style sheet, its body and its script. The script builds
// everything else from the data element, writing texts of the dump only as text, never as markup.
// They are the files page.css, page.html and page.js beside this header, embedded at build time
// (cmake/embed_files.cmake).

// The style sheet.
extern const char* const page_style;
// The elements of the body before the data: header, level tabs, board, details, problem list, and
// the small script that records script errors in the page.
extern const char* const page_body;
// The script that draws the page from the data element "dungeon-data".
extern const char* const page_script;
