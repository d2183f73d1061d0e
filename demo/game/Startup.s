// 星降る屋上で ― Mavu のデモゲーム
//
// エンジンは起動すると、このファイルのラベル @@TOP から読み始める。
// ここでは一度だけ、画面に出すものを変数として用意してタイトルへ向かう。
// オブジェクト変数（img, msg, btn）は宣言した時点でオブジェクトを作る。
// 音のオブジェクトは初めからある：snd[0..7] は曲や声（Ogg を流しながら読む）、
// dsnd[0..14] は効果音（全部を読み込んでおく）。

// 「タイトルに戻る」（閉じるボタンの問いやリセット）は、変数を消してから
// @@reset に来る。最初からと同じ準備をし直す。
@@TOP
@@reset
// Esc で終了、Ctrl で早送りなど、プレイヤーの操作をすべて使えるようにする。
\scp,sys\lk,0
\gvar,img,bg,chara
\gvar,msg,m,nm,logo
\gvar,btn,start,quit,choice1,choice2
\gvar,int,route,endings,seen
\gvar,str,chosen,bgm
// 流れ星の効果音は、鳴らす前に読み込んでおく。
\scp,dsnd[0]\l,"se/star.ogg"

// 地の文（行頭が \ でも @ でもない行）は、すべてメッセージ窓の文章になる。
\scp,rep\et,"\scp,m\t,"

\sub,@@SETUP_WINDOWS,"common.s"
\go,@@TITLE,"title.s"
