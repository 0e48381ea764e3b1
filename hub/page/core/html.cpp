// SPDX-License-Identifier: MIT
#include "html.h"

namespace hub::page {
namespace {

// Narrow screens scroll the table sideways inside its box; the first column stays put.
constexpr const char* kStyle =
    "body{font-family:'WenQuanYi Micro Hei','Noto Sans CJK SC',sans-serif;margin:0;"
    "color:#222;background:#fafafa}"
    "header{background:#2d5d8a;color:#fff;padding:.5em 1em;display:flex;flex-wrap:wrap;"
    "gap:.5em 1.5em;align-items:center}"
    "header a{color:#fff}header form{margin-left:auto}"
    "main{padding:.5em 1em;max-width:100%;box-sizing:border-box}"
    "nav a{margin-right:1em}nav a.here{font-weight:bold;text-decoration:none}"
    ".scroll{overflow-x:auto;max-width:100%;border:1px solid #ccc;background:#fff}"
    "table{border-collapse:collapse;font-size:14px}"
    "th,td{border:1px solid #ddd;padding:.25em .5em;text-align:left;white-space:nowrap}"
    "th{background:#eef2f6;position:sticky;top:0}"
    "td.num{text-align:right}"
    "tbody th{position:sticky;left:0;background:#f6f8fa}"
    "td.p0{background:#fff}td.p1{background:#fdebd0}td.p2{background:#fcf3a4}"
    "td.p3{background:#d5f0c2}td.p4{background:#a9dd8c}"
    "td small{color:#555;display:block}"
    ".due{color:#b03a00}.short{background:#fde2e2}.none{background:#f3d0d0}"
    ".error{color:#b00020;font-weight:bold}"
    "form.box{max-width:22em;display:grid;gap:.5em;margin:2em auto}"
    "input,button{font-size:16px;padding:.3em}";

}  // namespace

std::string Escape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string UrlEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                       (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                       byte == '~';
    if (plain) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 15];
    }
  }
  return encoded;
}

std::string Document(std::string_view title, std::string_view body) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
      "<title>";
  page += Escape(title);
  page += "</title><style>";
  page += kStyle;
  page += "</style></head><body>";
  page += body;
  page += "</body></html>\n";
  return page;
}

std::string CsrfField(std::string_view token) {
  return "<input type=\"hidden\" name=\"csrf\" value=\"" + Escape(token) + "\">";
}

}  // namespace hub::page
