// The send-to-friend request and the judgement of its reply.
#include "SendToFriendRequest.h"

#include "net/iHTTPClient.h"

#include "lib/src/UrlEncode.h"

namespace {

// The foundation's encoding keeps "*"; here it must not survive.
iString EncodeFormValue(const char* text)
{
    iString encoded = UrlEncode(text);
    encoded.Replace("*", "%2A");
    return encoded;
}

[[nodiscard]] bool ReplyHolds(const iString& body, const iString& text)
{
    return body.FindNoCase(text) >= 0;
}

} // namespace

iString BuildSendToFriendUrl(const char* host, const SendToFriendForm& form)
{
    iString url = "http://";
    url += host;
    url += kSendToFriendScript;
    url += "Product=";
    url += EncodeFormValue(kSendToFriendProduct);
    const struct {
        const char* key;
        const iString& text;
    } fields[] = {{"From=", form.from}, {"To=", form.to}, {"Subject=", form.subject}, {"Message=", form.message}};
    for (const auto& field : fields) {
        url += "&";
        url += field.key;
        url += EncodeFormValue(field.text);
    }
    return url;
}

SendToFriendResult CheckSendToFriendReply(int fetchResult, const iString& body, const SendToFriendForm& form)
{
    if (fetchResult != 0)
        return {1, fetchResult};
    if (!ReplyHolds(body, kSendToFriendProduct))
        return {2, 0};
    if (!ReplyHolds(body, form.from) || !ReplyHolds(body, form.to))
        return {3, 0};
    if (!form.subject.IsEmpty() && !ReplyHolds(body, form.subject))
        return {4, 0};
    return {0, 0};
}

SendToFriendResult SendToFriend(const WebEndpoint& endpoint, const SendToFriendForm& form)
{
    iHTTPClient client;
    client.SetPort(endpoint.port);
    // The dialog waits for the reply on the program's window thread.
    client.SetExchangeTimeOut(iHTTPClient::kUserInterfaceExchangeMs);
    const int result = client.Get(BuildSendToFriendUrl(endpoint.host, form));
    iString body;
    client.GetBody(body);
    return CheckSendToFriendReply(result, body, form);
}
