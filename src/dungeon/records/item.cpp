#include "records/item.h"

const char* comment_reason_text(CommentReason reason)
{
    switch (reason) {
    case CommentReason::none: return "";
    case CommentReason::unlisted_type: return "the object name list does not name its type";
    case CommentReason::off_grid: return "its square is left of or above the common grid";
    case CommentReason::no_holder: return "no object holds it";
    case CommentReason::holder_held: return "the object that holds it is itself held";
    case CommentReason::holder_commented: return "the object that holds it is written as a comment";
    }
    return "";
}
