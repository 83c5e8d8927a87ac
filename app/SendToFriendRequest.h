// The send-to-friend request: the form's texts go as the query of one HTTP GET to the
// maker's form script, which sends the mail and answers with a page that repeats the
// product name and the From, To and Subject texts. That echo is the only sign of
// success; its absence is reported by stage.
#pragma once

#include "WebEndpoint.h"

#include "lib/src/iString.h"

constexpr char kSendToFriendProduct[] = "Sorvanta";
constexpr char kSendToFriendScript[] = "/cgi-bin/SendToFriend.cgi?";

struct SendToFriendForm {
    iString from;
    iString to;
    iString subject;
    iString message;
};

// Stage 0 is success. A failed stage: 1 the fetch failed (code: its result), 2 the reply
// lacks the product name, 3 it lacks the From or the To text, 4 it lacks the Subject
// text (codes 0).
struct SendToFriendResult {
    int stage;
    int code;

    bool IsSent() const { return stage == 0; }
};

// "http://host/cgi-bin/SendToFriend.cgi?Product=...&From=...&To=...&Subject=...&Message=...",
// each value URL-encoded with "*" as %2A: the HTTP client ends the request path at the
// first "*", so a plain one would cut the message there.
iString BuildSendToFriendUrl(const char* host, const SendToFriendForm& form);

// Judges a fetch that answered fetchResult with this body. Texts are looked for ignoring
// case; an empty Subject is not looked for, since an empty text is never found.
SendToFriendResult CheckSendToFriendReply(int fetchResult, const iString& body, const SendToFriendForm& form);

// Sends the form to the endpoint's form script and judges the reply. Blocks for the
// fetch, bounded as a fetch on a thread that runs windows is.
SendToFriendResult SendToFriend(const WebEndpoint& endpoint, const SendToFriendForm& form);
