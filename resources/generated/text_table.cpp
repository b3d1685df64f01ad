// Localized texts: Korean, English, Japanese. An empty text means the text has
// no translation in that language and the lookup falls back.
#include "data/tables.h"

const LocalizedText g_LocalizedTextTable[kTextCount] = {
    {{u"", u"", u""}},
    {{u"(&X)종료", u"e&Xit", u"(&X)終了"}},
    {{u"(&L)파일읽기", u"&Load", u"(&L)ロード"}},
    {{u"(&S)파일저장", u"&Save", u"(&S)保存"}},
    {{u"(&O)환경설정", u"c&Onfig", u"(&O)環境設定"}},
    {{u"(&A)정보", u"&About", u"(&A)情報"}},
    {{u"초기화", u"Reset", u""}},
    {{u"닫기", u"Close", u"終了"}},
    {{u">>", u"", u""}},
    {{u"<<", u"", u""}},
    {{u"확인", u"Ok", u"確認"}},
    {{u"취소", u"Cancel", u"取消"}},
    {{u"환경설정", u"Config", u"環境設定"}},
    {{u"성별선택", u"Select Sex", u"性別選択"}},
    {{u"남자", u"Boy", u"男子"}},
    {{u"여자", u"Girl", u"\uF981子"}},
    {{u"스킬정보보기", u"Show Description for Skill", u"Show Description for Skill"}},
    {{u"윈도우를 항상 가운데로", u"Always Move to Center", u"Always Move to Center"}},
    {{u"스킬수 자동변경", u"Automatic Demanded Skill Points", u"Automatic Demanded Skill Points"}},
    {{u"자동업데이트 검사", u"Check if updated New Version", u"Check if updated New Version"}},
    {{u"자동저장", u"Autosave when exit", u"Autosave when exit"}},
    {{u"선택하지 않음", u"None Selection", u""}},
    {{u"자동실행할 직업", u"Select Job to Autorun", u""}},
    {{u"저장할 슬롯", u"Select Slot to Save", u""}},
    {{u"슬롯1", u"Slot1", u""}},
    {{u"슬롯2", u"Slot2", u""}},
    {{u"슬롯3", u"Slot3", u""}},
    // Records 27 and up are game content, filled in by the content generator.
};
