// 星降る屋上で ― Mavu のデモゲーム
//
// エンジンは起動すると、このファイルのラベル @@TOP から読み始める。
// ここでは一度だけ、画面に出すものを変数として用意してタイトルへ向かう。
// オブジェクト変数（img, msg, btn）は宣言した時点でオブジェクトを作る。

@@TOP
\gvar,img,bg,chara
\gvar,msg,m,nm,logo
\gvar,btn,start,quit,choice1,choice2
\gvar,int,route,endings,seen
\gvar,str,chosen

// 地の文（行頭が \ でも @ でもない行）は、すべてメッセージ窓の文章になる。
\scp,rep\et,"\scp,m\t,"

\sub,@@SETUP_WINDOWS,"common.s"
\go,@@TITLE,"title.s"
